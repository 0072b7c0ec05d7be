-- Neovim 0.7 over a whole theme, as a user works across it: index.htm of a
-- copy of headertheme/ opened, an include's path completed inside a folder
-- with a Chinese name, every include of header.htm listed (references,
-- into the quickfix list), and header.htm renamed from the include's path
-- (vim.lsp.buf.rename), the edited templates then written (:wall). What
-- Neovim shows after each step is written as JSON for the test to judge.
-- Run by neovim_test.cpp with ZUVI_LSP_SERVER, ZUVI_LSP_ROOT (the copy),
-- ZUVI_LSP_FILE and ZUVI_LSP_RESULT, as client.lua is.
local env = vim.env
local result = {}

local function finish()
  local file = assert(io.open(env.ZUVI_LSP_RESULT, 'w'))
  file:write(vim.fn.json_encode(result))
  file:close()
  vim.cmd('qa!')
end

local function run()
  local published = {}
  local id = assert(vim.lsp.start_client({
    name = 'zuvi-taggen',
    cmd = { env.ZUVI_LSP_SERVER, 'lsp' },
    root_dir = env.ZUVI_LSP_ROOT,
    workspace_folders = { { uri = vim.uri_from_fname(env.ZUVI_LSP_ROOT), name = 'theme' } },
    -- Neovim applies the file operations of a workspace edit but does not
    -- say so: a user's configuration tells the server.
    capabilities = vim.tbl_deep_extend('force', vim.lsp.protocol.make_client_capabilities(),
      { workspace = { workspaceEdit = { documentChanges = true } } }),
    handlers = {
      ['textDocument/publishDiagnostics'] = function(err, params, ctx, handler_config)
        published[params.uri] = true
        return vim.lsp.handlers['textDocument/publishDiagnostics'](err, params, ctx, handler_config)
      end,
    },
    on_exit = function(code)
      result.exit_code = code
    end,
  }))
  vim.o.hidden = true
  vim.cmd('edit ' .. vim.fn.fnameescape(env.ZUVI_LSP_FILE))
  local buf = vim.api.nvim_get_current_buf()
  local uri = vim.uri_from_bufnr(buf)
  vim.lsp.buf_attach_client(buf, id)
  assert(vim.wait(10000, function() return published[uri] ~= nil end, 10), 'no diagnostics published')
  local client = vim.lsp.get_client_by_id(id)

  -- The cursor `delta` bytes after the first match of `pattern`.
  local function cursor_at(pattern, delta)
    vim.api.nvim_win_set_cursor(0, { 1, 0 })
    local row, col = unpack(vim.fn.searchpos(pattern, 'cW'))
    assert(row > 0, 'not in the template: ' .. pattern)
    vim.api.nvim_win_set_cursor(0, { row, col - 1 + delta })
    return row
  end

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
  local old = env.ZUVI_LSP_ROOT .. '/header.htm'
  local new = env.ZUVI_LSP_ROOT .. '/top.htm'
  vim.lsp.buf.rename('top.htm')
  assert(vim.wait(5000, function() return vim.loop.fs_stat(new) ~= nil end, 10), 'header.htm not renamed')
  result.old_exists = vim.loop.fs_stat(old) ~= nil
  vim.cmd('wall')

  vim.lsp.stop_client(id)
  assert(vim.wait(5000, function() return result.exit_code ~= nil end, 10), 'the server did not end')
end

local ok, err = xpcall(run, debug.traceback)
if not ok then
  result.error = tostring(err)
end
finish()
