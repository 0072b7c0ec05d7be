import * as vscode from 'vscode';

export type ServerState = 'starting' | 'running' | 'stopped' | 'missing';

const looks: Record<ServerState, { text: string; tooltip: string }> = {
  starting: { text: '$(sync~spin) Zuvi', tooltip: 'zuvi-taggen 语言服务器正在启动' },
  running: { text: '$(check) Zuvi', tooltip: 'zuvi-taggen 语言服务器运行中' },
  stopped: { text: '$(error) Zuvi', tooltip: 'zuvi-taggen 语言服务器已停止：点击查看输出' },
  missing: { text: '$(warning) Zuvi', tooltip: '找不到 zuvi-taggen：点击设置它的路径' },
};

// The language server's state in the status bar; a click shows the output
// channel, or the setting of the path when the program is missing.
export class ServerStatus implements vscode.Disposable {
  private readonly item = vscode.window.createStatusBarItem('zuviTemplates.status', vscode.StatusBarAlignment.Right, 100);

  constructor(private readonly showOutputCommand: string) {
    this.item.name = 'ZuviCMS 语言服务器';
  }

  show(state: ServerState): void {
    this.item.text = looks[state].text;
    this.item.tooltip = looks[state].tooltip;
    this.item.command =
      state === 'missing'
        ? { title: '设置路径', command: 'workbench.action.openSettings', arguments: ['zuviTemplates.server.path'] }
        : this.showOutputCommand;
    this.item.backgroundColor =
      state === 'stopped' ? new vscode.ThemeColor('statusBarItem.errorBackground') : undefined;
    this.item.show();
  }

  dispose(): void {
    this.item.dispose();
  }
}
