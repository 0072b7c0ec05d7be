import * as fs from 'fs';
import * as path from 'path';

// The program the setting names, as the system would find it: a name
// without a slash on the PATH, anything else as a path (a leading ~ is the
// home folder). Undefined where there is no executable file there, so that
// the caller can say so once instead of a failed start.
export function findProgram(setting: string, env: NodeJS.ProcessEnv = process.env): string | undefined {
  const name = setting.trim().replace(/^~(?=$|\/)/, env.HOME ?? '~');
  if (!name) {
    return undefined;
  }
  const candidates = name.includes('/')
    ? [path.resolve(name)]
    : (env.PATH ?? '').split(path.delimiter).filter(Boolean).map((dir) => path.join(dir, name));
  return candidates.find(isExecutableFile);
}

function isExecutableFile(file: string): boolean {
  try {
    fs.accessSync(file, fs.constants.X_OK);
    return fs.statSync(file).isFile();
  } catch {
    return false;
  }
}

// The arguments that hand `text` to the running tool's search box; a text
// that starts with a dash would read as an option.
export function searchArguments(text: string): string[] {
  return text.startsWith('-') ? [`--search=${text}`] : ['--search', text];
}
