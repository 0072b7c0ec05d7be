// How the extension finds zuvi-taggen and hands a text to its search box.
import { strict as assert } from 'node:assert';
import * as fs from 'node:fs';
import * as os from 'node:os';
import * as path from 'node:path';
import { test } from 'node:test';

import { findProgram, searchArguments } from '../../../editors/vscode/src/program';

test('the program is found on the PATH, by path, or not at all', () => {
  const root = fs.mkdtempSync(path.join(os.tmpdir(), 'zuvi-program-'));
  const bin = path.join(root, 'bin');
  const other = path.join(root, 'other');
  fs.mkdirSync(bin);
  fs.mkdirSync(other);
  fs.mkdirSync(path.join(other, 'zuvi-taggen')); // a folder of that name is no program
  fs.writeFileSync(path.join(root, 'plain'), ''); // nor is a file that cannot run
  const program = path.join(bin, 'zuvi-taggen');
  fs.writeFileSync(program, '#!/bin/sh\n', { mode: 0o755 });
  const env = { PATH: [other, bin].join(path.delimiter), HOME: root };
  try {
    const cases: [string, string | undefined][] = [
      ['zuvi-taggen', program],
      [' zuvi-taggen ', program],
      [program, program],
      ['~/bin/zuvi-taggen', program],
      [path.join(root, 'plain'), undefined],
      ['zuvi-taggen-missing', undefined],
      ['', undefined],
    ];
    for (const [setting, expected] of cases) {
      assert.equal(findProgram(setting, env), expected, JSON.stringify(setting));
    }
    assert.equal(findProgram('zuvi-taggen', { HOME: root }), undefined, 'no PATH at all');
  } finally {
    fs.rmSync(root, { recursive: true, force: true });
  }
});

test('a text that starts with a dash goes as one argument', () => {
  assert.deepEqual(searchArguments('fenye'), ['--search', 'fenye']);
  assert.deepEqual(searchArguments('{zuvi:list}\n{/zuvi:list}'), ['--search', '{zuvi:list}\n{/zuvi:list}']);
  assert.deepEqual(searchArguments('-x'), ['--search=-x']);
});
