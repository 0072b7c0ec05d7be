import * as vscode from 'vscode';

import { templateLanguages } from './languages';
import { ServerController, configSection } from './server';
import { ServerStatus } from './status';
import { editInBuilder, searchTags } from './tool';

let controller: ServerController | undefined;

export async function activate(context: vscode.ExtensionContext): Promise<void> {
  const languages = templateLanguages(context.extension);
  // The editor's context menu shows the tool's commands in these languages.
  void vscode.commands.executeCommand('setContext', `${configSection}.languages`, languages);

  const output = vscode.window.createOutputChannel('ZuviCMS 模板');
  const status = new ServerStatus(`${configSection}.showOutput`);
  controller = new ServerController(languages, output, status);
  context.subscriptions.push(
    output,
    status,
    controller,
    vscode.commands.registerCommand(`${configSection}.restartServer`, () => controller?.restart()),
    vscode.commands.registerCommand(`${configSection}.showOutput`, () => output.show(true)),
    vscode.commands.registerCommand(`${configSection}.editInBuilder`, () => editInBuilder(output)),
    vscode.commands.registerCommand(`${configSection}.searchTags`, () => searchTags(output)),
    vscode.workspace.onDidChangeConfiguration((event) => {
      if (event.affectsConfiguration(`${configSection}.server.path`)) {
        void controller?.restart();
      }
    }),
  );
  await controller.start();
}

export async function deactivate(): Promise<void> {
  await controller?.stop();
  controller = undefined;
}
