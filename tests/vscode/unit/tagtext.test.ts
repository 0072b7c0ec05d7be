// The tag under the cursor that 在生成器中编辑 hands to the tool.
import { strict as assert } from 'node:assert';
import { test } from 'node:test';

import { tagSpanAt } from '../../../editors/vscode/src/tagtext';

// The text of the span found at the '|' of `marked`, the marker removed.
function tagAtMarker(marked: string): string | undefined {
  const offset = marked.indexOf('|');
  const text = marked.slice(0, offset) + marked.slice(offset + 1);
  const span = tagSpanAt(text, offset);
  return span && text.slice(span.start, span.end);
}

const block = "{zuvi:list titlelen='30'}\r\n<a href='{$field.arcurl}'>{$field.title}</a>\r\n{/zuvi:list}";

test('a block is taken whole from its opening or its closing tag', () => {
  const cases: [string, string | undefined][] = [
    ['{zu|vi:list titlelen=\'30\'}\r\n<a href=\'{$field.arcurl}\'>{$field.title}</a>\r\n{/zuvi:list}', block],
    ['|' + block, block],
    [block.replace("'30'}", "'30'}|"), block],
    [block.replace('{/zuvi:list}', '{/zuvi:l|ist}'), block],
    [block + '|', block],
  ];
  for (const [marked, expected] of cases) {
    assert.equal(tagAtMarker(marked), expected, marked);
  }
});

test('nested blocks of one name pair up, and the innermost tag under the cursor wins', () => {
  const inner = '{zuvi:channel type=\'son\'}<b>{$c}</b>{/zuvi:channel}';
  const outer = `{zuvi:channel typeid='1'}${inner}{/zuvi:channel}`;
  assert.equal(tagAtMarker('|x ' + outer), undefined);
  assert.equal(tagAtMarker(`{zuvi:chan|nel typeid='1'}${inner}{/zuvi:channel}`), outer);
  assert.equal(tagAtMarker(`{zuvi:channel typeid='1'}{zuvi:chan|nel type='son'}<b>{$c}</b>{/zuvi:channel}{/zuvi:channel}`), inner);
  assert.equal(tagAtMarker(`{zuvi:channel typeid='1'}${inner}{/zuvi:chan|nel}`), outer);
});

test('single tags, quotes holding braces, and places that are no tag', () => {
  const cases: [string, string | undefined][] = [
    ["<title>{zuvi:global na|me='sitename'/}</title>", "{zuvi:global name='sitename'/}"],
    ["{zuvi:field name='ti}t|le' alt=\"{x}\"}", "{zuvi:field name='ti}tle' alt=\"{x}\"}"],
    ['{zuvi:arclist row=\'3\'} open block, never closed |', undefined],
    ['{zuvi:arc|list row=\'3\'} never closed', "{zuvi:arclist row='3'}"],
    ['<p>pla|in text {zuvi:global name=\'x\'/}</p>', undefined],
    ['{/zuvi:arc|list} with no opening tag', undefined],
    ['{zuvi:ty|pe typeid=\'3\'', undefined],
    ['<script>var o = {na|me: 1};</script>', undefined],
    ['{zuvi:栏|目 名称=\'新闻\'/}', "{zuvi:栏目 名称='新闻'/}"],
  ];
  for (const [marked, expected] of cases) {
    assert.equal(tagAtMarker(marked), expected, marked);
  }
});
