// The problem matcher $zuvi-check against what `zuvi-taggen check` really
// prints for the fixture theme: every line read, in its parts.
import { strict as assert } from 'node:assert';
import { execFileSync } from 'node:child_process';
import * as path from 'node:path';
import { test } from 'node:test';

import manifest from '../../../editors/vscode/package.json';

test('every line of the gcc report is read into file, line, column, severity, message and code', () => {
  const program = process.env.ZUVI_TAGGEN;
  assert.ok(program, 'ZUVI_TAGGEN names the built program');
  const theme = path.join(process.env.ZUVI_VSCODE_TESTS ?? '', 'e2e', 'theme'); // set by run-unit.sh
  let report = '';
  try {
    execFileSync(program, ['check', theme], { encoding: 'utf8' });
  } catch (error) {
    report = (error as { stdout: string }).stdout; // exit status 1: something was found
  }
  const matcher = manifest.contributes.problemMatchers.find((candidate) => candidate.name === 'zuvi-check');
  assert.ok(matcher);
  const pattern = new RegExp(matcher.pattern.regexp);
  const read = report.trimEnd().split('\n').map((line) => {
    const match = line.match(pattern);
    assert.ok(match, `not read: ${line}`);
    const part = (index: number) => match[index];
    const { file, line: lineIndex, column, severity, message, code } = matcher.pattern;
    return [path.basename(part(file)), part(lineIndex), part(column), part(severity), part(message), part(code)];
  });
  assert.deepEqual(read, [
    ['index.htm', '3', '15', 'warning', '未知的标签 {zuvi:globl}，是否应为 {zuvi:global}？', 'W101'],
    ['index.htm', '11', '1', 'error', '块标签 {zuvi:arclist} 没有闭合，缺少 {/zuvi:arclist}', 'E101'],
  ]);
});
