import * as vscode from 'vscode';
import { LanguageClient, LanguageClientOptions, ServerOptions, State } from 'vscode-languageclient/node';

import { findProgram } from './program';
import { ServerStatus } from './status';

export const configSection = 'zuviTemplates';

// The program named by zuviTemplates.server.path, found, or undefined after
// one notification that says how to set it.
export async function programOrExplain(): Promise<string | undefined> {
  const setting = vscode.workspace.getConfiguration(configSection).get<string>('server.path', 'zuvi-taggen');
  const program = findProgram(setting);
  if (!program) {
    const open = '打开设置';
    void vscode.window
      .showErrorMessage(
        `找不到程序 “${setting}”：请安装 zuvi-taggen，或在设置 zuviTemplates.server.path 中填写它的完整路径。`,
        open,
      )
      .then((choice) => {
        if (choice === open) {
          void vscode.commands.executeCommand('workbench.action.openSettings', `${configSection}.server.path`);
        }
      });
  }
  return program;
}

// Runs `zuvi-taggen lsp` through the language client: starts it, restarts it
// on request or when its path changes, and shows its state.
export class ServerController implements vscode.Disposable {
  private client: LanguageClient | undefined;

  constructor(
    private readonly languages: string[],
    private readonly output: vscode.OutputChannel,
    private readonly status: ServerStatus,
  ) {}

  async start(): Promise<void> {
    const program = await programOrExplain();
    if (!program) {
      this.status.show('missing');
      return;
    }
    const serverOptions: ServerOptions = { command: program, args: ['lsp'] };
    const clientOptions: LanguageClientOptions = {
      // Any file of these languages, saved or not: the server needs no workspace.
      documentSelector: this.languages.flatMap((language) => [
        { scheme: 'file', language },
        { scheme: 'untitled', language },
      ]),
      outputChannel: this.output,
      traceOutputChannel: this.output,
    };
    const client = new LanguageClient(configSection, 'ZuviCMS 模板', serverOptions, clientOptions);
    client.onDidChangeState((event) => {
      this.status.show(event.newState === State.Running ? 'running' : event.newState === State.Starting ? 'starting' : 'stopped');
    });
    this.client = client;
    this.status.show('starting');
    try {
      await client.start();
    } catch (error) {
      // The client has told the output channel already; a failed start
      // must not become an error of the extension host.
      this.output.appendLine(`zuvi-taggen lsp 未能启动：${error instanceof Error ? error.message : String(error)}`);
      this.status.show('stopped');
    }
  }

  async stop(): Promise<void> {
    const client = this.client;
    this.client = undefined;
    if (client?.needsStop()) {
      try {
        await client.stop();
      } catch (error) {
        this.output.appendLine(`zuvi-taggen lsp 未能停止：${error instanceof Error ? error.message : String(error)}`);
      }
    }
  }

  async restart(): Promise<void> {
    await this.stop();
    await this.start();
  }

  dispose(): void {
    void this.stop();
  }
}
