// Drives VS Code (code-server) in headless Chromium over the DevTools
// protocol as a person would: keys, clicks, the mouse over a tag. Each step
// waits for what VS Code shows, checks it, and keeps a screenshot. Run by
// run.sh, which sets the environment.
import { execFileSync } from 'node:child_process';
import { createRequire } from 'node:module';
import * as fs from 'node:fs';
import * as path from 'node:path';

const env = process.env;
const puppeteer = createRequire(`${env.ZUVI_E2E_RIG}/`)('puppeteer-core');
const shots = env.ZUVI_E2E_SHOTS;
const patience = 60_000; // an upper bound for anything to show, never a measure

let page;
let step = 0;

async function shot(name) {
  const file = path.join(shots, `${String(++step).padStart(2, '0')}-${name}.png`);
  await page.screenshot({ path: file });
  console.log(`screenshot ${file}`);
}

// Waits until `probe` (run in the page) returns something truthy, and
// returns it; fails with `what` when it never does.
async function until(what, probe, ...args) {
  try {
    const handle = await page.waitForFunction(probe, { timeout: patience, polling: 250 }, ...args);
    return await handle.jsonValue();
  } catch (error) {
    await shot(`failed-${what.replace(/\W+/g, '-')}`);
    throw new Error(`VS Code never showed ${what}`);
  }
}

function check(condition, message) {
  if (!condition) {
    throw new Error(message);
  }
}

async function command(title) {
  await page.keyboard.press('F1');
  await until('the command palette', () => document.querySelector('.quick-input-widget:not([style*="display: none"]) input'));
  await page.keyboard.type(title);
  await until(`the command "${title}"`, (title) =>
    [...document.querySelectorAll('.quick-input-list .monaco-list-row.focused')].some((row) => row.textContent.includes(title)), title);
  await page.keyboard.press('Enter');
}

// The editor's text as it shows it (the fixture fits on one screen).
const editorText = () =>
  page.evaluate(() => [...document.querySelectorAll('.editor-instance .view-line')]
    .sort((a, b) => parseFloat(a.style.top) - parseFloat(b.style.top))
    .map((line) => line.textContent.replace(/\u00a0/g, ' ')).join('\n'));

// The middle of the first piece of editor text that reads `text`.
async function spanOf(text) {
  const box = await until(`the text ${text} in the editor`, (text) => {
    for (const span of document.querySelectorAll('.editor-instance .view-line span span')) {
      if (span.textContent.includes(text)) {
        const range = document.createRange();
        const node = span.firstChild;
        const at = node.textContent.indexOf(text);
        range.setStart(node, at);
        range.setEnd(node, at + text.length);
        const rect = range.getBoundingClientRect();
        return { x: rect.x + rect.width / 2, y: rect.y + rect.height / 2 };
      }
    }
    return null;
  }, text);
  return box;
}

async function clickOn(text) {
  const { x, y } = await spanOf(text);
  await page.mouse.click(x, y);
}

// Types `typed`, asks for completion and accepts the suggestion `label`.
async function complete(typed, label) {
  await page.keyboard.type(typed);
  await page.keyboard.down('Control');
  await page.keyboard.press('Space');
  await page.keyboard.up('Control');
  await until(`${label} among the suggestions for ${typed}`, (label) =>
    [...document.querySelectorAll('.suggest-widget .monaco-list-row')].some((row) => row.textContent.includes(label)), label);
  await shot(`completion-${typed}`);
  for (let down = 0; down < 30; ++down) {
    const focused = await page.evaluate(() => document.querySelector('.suggest-widget .monaco-list-row.focused')?.textContent ?? '');
    if (focused.includes(label)) {
      break;
    }
    await page.keyboard.press('ArrowDown');
  }
  await page.keyboard.press('Enter');
}

function x11(program, ...args) {
  return execFileSync('timeout', ['10', program, ...args], { encoding: 'utf8' });
}

function xshot(name) {
  const file = path.join(shots, `${String(++step).padStart(2, '0')}-${name}.png`);
  x11('import', '-window', 'root', file);
  console.log(`screenshot ${file}`);
}

const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  userDataDir: env.ZUVI_E2E_CHROMIUM_PROFILE,
  defaultViewport: { width: 1400, height: 900 },
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--lang=zh-CN'],
});
try {
  page = (await browser.pages())[0];
  // code-server takes a moment to listen and to serve the workbench: until
  // then a load is refused or answered with an error page.
  for (let attempt = 0; ; ++attempt) {
    try {
      await page.goto(env.ZUVI_E2E_URL, { waitUntil: 'domcontentloaded' });
      await page.waitForSelector('.monaco-workbench .part.activitybar', { timeout: 20_000 });
      break;
    } catch (error) {
      check(attempt < 30, `code-server never served the workbench: ${error.message}`);
      await new Promise((resolve) => setTimeout(resolve, 1000));
    }
  }

  // Open the template; the server starts and its findings come.
  await page.keyboard.down('Control');
  await page.keyboard.press('p');
  await page.keyboard.up('Control');
  await until('quick open', () => document.querySelector('.quick-input-widget input'));
  await page.keyboard.type('index.htm');
  await until('index.htm in quick open', () => document.querySelector('.quick-input-list .monaco-list-row.focused'));
  await page.keyboard.press('Enter');
  await until('the template in the editor', () => document.querySelector('.editor-instance .view-lines')?.textContent.includes('zuvi:arclist'));
  await until('the server running in the status bar', () =>
    [...document.querySelectorAll('.statusbar-item')].some((item) => item.textContent.includes('Zuvi') && item.querySelector('.codicon-check')));

  // 1. Findings: the unclosed block and the misspelled tag, at their lines, in Chinese, with their codes.
  await page.keyboard.down('Control');
  await page.keyboard.down('Shift');
  await page.keyboard.press('m');
  await page.keyboard.up('Shift');
  await page.keyboard.up('Control');
  const found = await until('both findings in the Problems panel', () => {
    const rows = [...document.querySelectorAll('.markers-panel .monaco-list-row')].map((row) => row.textContent);
    return rows.some((row) => row.includes('E101')) && rows.some((row) => row.includes('W101')) && rows;
  });
  console.log(found.join('\n'));
  const unclosed = found.find((row) => row.includes('E101'));
  const misspelled = found.find((row) => row.includes('W101'));
  check(unclosed.includes('块标签 {zuvi:arclist} 没有闭合，缺少 {/zuvi:arclist}') && unclosed.includes('[Ln 11, Col 1]'),
    `the unclosed block's finding: ${unclosed}`);
  check(misspelled.includes('未知的标签 {zuvi:globl}，是否应为 {zuvi:global}？') && misspelled.includes('[Ln 3, Col 15]'),
    `the misspelled tag's finding: ${misspelled}`);
  await shot('problems');

  // The outline of the blocks, from the server's symbols: Go to Symbol in Editor.
  await command('Go to Symbol in Editor');
  const symbols = await until('the blocks in Go to Symbol', () => {
    const rows = [...document.querySelectorAll('.quick-input-list .monaco-list-row')].map((row) => row.textContent);
    return rows.some((row) => row.includes('{zuvi:list}')) && rows.some((row) => row.includes('{zuvi:arclist}')) && rows;
  });
  console.log(symbols.join('\n'));
  await shot('outline');
  await page.keyboard.press('Escape');

  // 2. Completion from pinyin: 分页标签 offered for "fenye" and accepted;
  // a builder's snippet (列表循环, from its initials) with its tab stops.
  await clickOn('</body>');
  await page.keyboard.press('Home');
  await page.keyboard.press('Enter');
  await page.keyboard.press('ArrowUp');
  await complete('fenye', '分页标签');
  await until('分页标签 in the text', () => document.querySelector('.editor-instance .view-lines')?.textContent.includes('{zuvi:pagelist'));
  check((await editorText()).includes("{zuvi:pagelist listitem='index,pre,pageno,next,end' listsize='2' /}"),
    'the accepted entry inserts 分页标签');
  await page.keyboard.press('End');
  await page.keyboard.press('Enter');
  await complete('lbxh', '列表循环');
  await until('the snippet\'s tab stops', () => document.querySelectorAll('.editor-instance .snippet-placeholder').length >= 2);
  await shot('snippet');
  // The first stop holds the title length, selected: typing replaces it; Tab goes to the next.
  await page.keyboard.type('40');
  await page.keyboard.press('Tab');
  await page.keyboard.type('90');
  await page.keyboard.press('Escape');
  await until('the values typed into the tab stops', () =>
    document.querySelector('.editor-instance .view-lines')?.textContent.includes("titlelen='40'\u00a0infolen='90'\u00a0pagesize='10'")
    || document.querySelector('.editor-instance .view-lines')?.textContent.includes("titlelen='40' infolen='90' pagesize='10'"));

  // 3. Hover on a tag: its captions and tip.
  const tag = await spanOf('zuvi:arclist');
  await page.mouse.move(tag.x, tag.y);
  // The server's part comes beside the finding's: its caption and an entry's tip.
  const hover = await until('the hover of {zuvi:arclist}', () => {
    const shown = document.querySelector('.monaco-hover:not(.hidden)');
    return shown && shown.textContent.includes('块标签，以 {/zuvi:arclist} 结束') && shown.textContent;
  });
  console.log(hover);
  check(hover.includes('文章列表 · 首页标签') && hover.includes('瀑布流分页要在模板目录pc/system创建一个模板'),
    `the hover shows the tag's captions and tip: ${hover}`);
  await shot('hover');
  await page.mouse.move(5, 5);

  // 4. Quick fix on the misspelled tag: mended, and its finding gone.
  await clickOn('zuvi:globl');
  await command('Quick Fix...');
  await until('the quick fix', () =>
    [...document.querySelectorAll('.action-widget .monaco-list-row, .context-view .action-label')].some((row) => row.textContent.includes('zuvi:global')));
  await shot('quick-fix');
  await page.keyboard.press('Enter');
  await until('the tag mended', () => !document.querySelector('.editor-instance .view-lines')?.textContent.includes('zuvi:globl'));
  await until('the finding gone from the Problems panel', () => {
    const rows = [...document.querySelectorAll('.markers-panel .monaco-list-row')].map((row) => row.textContent);
    return rows.some((row) => row.includes('E101')) && !rows.some((row) => row.includes('W101'));
  });
  await shot('fixed');

  // 5. Colours: the tag's tokens carry the grammar's scopes.
  await clickOn('zuvi:arclist');
  await command('Inspect Editor Tokens and Scopes');
  const scopes = await until('the token inspector', () => {
    const shown = document.querySelector('.token-inspect-widget')?.textContent;
    return shown?.includes('textmate scopes') && shown;
  });
  console.log(scopes);
  check(scopes.includes('entity.name.tag.zuvi') && scopes.includes('meta.tag.template.zuvi'),
    `the tag name's scopes: ${scopes}`);
  await shot('scopes');
  await page.keyboard.press('Escape');
  const colours = await page.evaluate(() => {
    const spans = [...document.querySelectorAll('.editor-instance .view-line span span')];
    const colour = (text) => { const span = spans.find((s) => s.textContent === text); return span && getComputedStyle(span).color; };
    return { tag: colour('zuvi:arclist'), attribute: colour('typeid'), value: colour("'1'") };
  });
  console.log(JSON.stringify(colours));
  check(colours.tag && colours.attribute && colours.value && new Set(Object.values(colours)).size === 3,
    `the tag, its attribute and its value stand out in colours of their own: ${JSON.stringify(colours)}`);

  // 6. 在生成器中编辑 from the context menu: the tool shows the list loop builder filled.
  const list = await spanOf("'80'");
  await page.mouse.click(list.x, list.y, { button: 'right' });
  // The menu stands in a shadow root, which the pierce selector enters.
  let item;
  for (let attempt = 0; !item; ++attempt) {
    for (const label of await page.$$('pierce/.action-label')) {
      if ((await label.evaluate((node) => node.textContent)).includes('在生成器中编辑')) {
        item = label;
      }
    }
    if (!item) {
      if (attempt > 120) {
        await shot('failed-context-menu');
        throw new Error('VS Code never showed 在生成器中编辑 in the context menu');
      }
      await new Promise((resolve) => setTimeout(resolve, 250));
    }
  }
  await shot('context-menu');
  await item.click();
  const window = x11('xdotool', 'search', '--sync', '--onlyvisible', '--name', '标签生成器').trim().split('\n')[0];
  check(window, 'the tool opened no window');
  await new Promise((resolve) => setTimeout(resolve, 1500)); // the search box paints
  xshot('tool-search');
  x11('xdotool', 'windowfocus', '--sync', window); // no window manager on this display
  x11('xdotool', 'key', '--clearmodifiers', 'Return');
  let clipboard = '';
  for (let attempt = 0; attempt < 40 && !clipboard.includes("titlelen='25'"); ++attempt) {
    await new Promise((resolve) => setTimeout(resolve, 250));
    try {
      clipboard = x11('xclip', '-o', '-selection', 'clipboard');
    } catch {
      clipboard = '';
    }
  }
  console.log(clipboard);
  xshot('tool-builder');
  check(clipboard.includes("{zuvi:list titlelen='25' infolen='80' pagesize='12'}"),
    `the builder rebuilt the tag from the editor: ${clipboard}`);
  await shot('done');
  console.log('every step passed');
} finally {
  await browser.close();
}
