import { spawn } from 'child_process';
import * as vscode from 'vscode';

import { searchArguments } from './program';
import { programOrExplain } from './server';
import { tagSpanAt } from './tagtext';

// Hands `text` to the tag generator: a running tool opens its search box
// with it (and for a builder's tag, the builder filled from it); where none
// runs, the program starts with it. The start hands over and ends at once,
// or becomes the tool: either way it is not waited for.
async function handToTool(text: string, output: vscode.OutputChannel): Promise<void> {
  const program = await programOrExplain();
  if (!program) {
    return;
  }
  const args = searchArguments(text);
  output.appendLine(`${program} ${args[0]}${args.length > 1 ? ' …' : ''}`);
  const child = spawn(program, text ? args : ['--search'], { detached: true, stdio: 'ignore' });
  child.on('error', (error) => {
    void vscode.window.showErrorMessage(`无法启动 zuvi-taggen：${error.message}`);
  });
  child.unref();
}

// 在生成器中编辑: the tag under the cursor, a block with its body.
export async function editInBuilder(output: vscode.OutputChannel): Promise<void> {
  const editor = vscode.window.activeTextEditor;
  if (!editor) {
    return;
  }
  const document = editor.document;
  const span = editor.selection.isEmpty
    ? tagSpanAt(document.getText(), document.offsetAt(editor.selection.active))
    : { start: document.offsetAt(editor.selection.start), end: document.offsetAt(editor.selection.end) };
  if (!span) {
    void vscode.window.showInformationMessage('光标不在 ZuviCMS 标签上：请把光标放在标签里，或选中要编辑的标签。');
    return;
  }
  const range = new vscode.Range(document.positionAt(span.start), document.positionAt(span.end));
  await handToTool(document.getText(range), output);
}

// 查找标签: the tool's search box, with the selection typed in.
export async function searchTags(output: vscode.OutputChannel): Promise<void> {
  const editor = vscode.window.activeTextEditor;
  const text = editor && !editor.selection.isEmpty ? editor.document.getText(editor.selection) : '';
  await handToTool(text, output);
}
