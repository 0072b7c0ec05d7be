import * as vscode from 'vscode';

// The languages the extension serves are those its manifest activates it
// for (package.json, "activationEvents"): the one list, read from there.
export function templateLanguages(extension: vscode.Extension<unknown>): string[] {
  const events: string[] = extension.packageJSON.activationEvents ?? [];
  return events.filter((event) => event.startsWith('onLanguage:')).map((event) => event.slice('onLanguage:'.length));
}
