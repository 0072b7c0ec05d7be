-- Neovim 0.7 over a whole theme, as a user works across it: index.htm of a
-- copy of headertheme/ opened, an include's path completed inside a folder
-- with a Chinese name, every include of header.htm listed (references,
-- into the quickfix list), and header.htm renamed from the include's path
-- (vim.lsp.buf.rename), the edited templates then written (:wall). What
-- Neovim shows after each step is written as JSON for the test to judge.
-- Run by neovim_test.cpp with ZUVI_LSP_SERVER, ZUVI_LSP_ROOT (the copy),
-- ZUVI_LSP_FILE and ZUVI_LSP_RESULT, as client.lua is.
local session = dofile(vim.fn.fnamemodify(debug.getinfo(1, 'S').source:sub(2), ':h') .. '/session.lua')
local cursor_at = session.cursor_at

session.run(function(result)
  vim.o.hidden = true
  -- Neovim applies the file operations of a workspace edit but does not
  -- say so: a user's configuration tells the server.
  session.open({ capabilities = { workspace = { workspaceEdit = { documentChanges = true } } } })
  local id, buf, client = session.id, session.buf, session.client

  -- Completion after "公共/" in file='公共/', and the first item taken.
  local row = cursor_at('公共/', #'公共/')
  local answers = vim.lsp.buf_request_sync(buf, 'textDocument/completion',
    vim.lsp.util.make_position_params(0, client.offset_encoding), 5000)
  assert(answers and answers[id] and not answers[id].err, 'no completion')
  local list = answers[id].result
  local items = list.items or list
  result.completion_labels = {}
  for _, item in ipairs(items) do
    table.insert(result.completion_labels, item.label)
  end
  vim.lsp.util.apply_text_edits({ items[1].textEdit }, buf, client.offset_encoding)
  result.completed_line = vim.api.nvim_buf_get_lines(buf, row - 1, row, false)[1]

  -- Every include of header.htm, as the quickfix list shows them.
  cursor_at('header.htm', 2)
  vim.fn.setqflist({}, 'r')
  vim.lsp.buf.references()
  assert(vim.wait(5000, function() return #vim.fn.getqflist() > 0 end, 10), 'no references listed')
  result.references = {}
  for _, entry in ipairs(vim.fn.getqflist()) do
    table.insert(result.references, { file = vim.api.nvim_buf_get_name(entry.bufnr), lnum = entry.lnum,
                                      col = entry.col })
  end
  vim.cmd('cclose')
  vim.api.nvim_set_current_buf(buf)

  -- header.htm renamed to top.htm from the include's path.
  cursor_at('header.htm', 2)
  local old = vim.env.ZUVI_LSP_ROOT .. '/header.htm'
  local new = vim.env.ZUVI_LSP_ROOT .. '/top.htm'
  vim.lsp.buf.rename('top.htm')
  assert(vim.wait(5000, function() return vim.loop.fs_stat(new) ~= nil end, 10), 'header.htm not renamed')
  result.old_exists = vim.loop.fs_stat(old) ~= nil
  vim.cmd('wall')

end)
