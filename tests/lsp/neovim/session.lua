-- What both Neovim clients share: the server started as a user's
-- configuration starts it, the template opened and its first findings
-- awaited, the cursor placed, and what Neovim showed written as JSON for
-- the test to judge. Loaded by client.lua and theme_client.lua from their
-- own folder; the environment is neovim_test.cpp's (ZUVI_LSP_SERVER,
-- ZUVI_LSP_ROOT, ZUVI_LSP_FILE, ZUVI_LSP_RESULT).
local env = vim.env
local session = { result = {} }

-- Starts the server on the theme folder with `settings` (offset_encoding,
-- capabilities beyond Neovim's own), opens ZUVI_LSP_FILE in the window and
-- waits for its first findings. Sets session.id, .buf and .client.
function session.open(settings)
  settings = settings or {}
  local published = {}
  local capabilities = nil
  if settings.capabilities then
    capabilities = vim.tbl_deep_extend('force', vim.lsp.protocol.make_client_capabilities(), settings.capabilities)
  end
  session.id = assert(vim.lsp.start_client({
    name = 'zuvi-taggen',
    cmd = { env.ZUVI_LSP_SERVER, 'lsp' },
    root_dir = env.ZUVI_LSP_ROOT,
    workspace_folders = { { uri = vim.uri_from_fname(env.ZUVI_LSP_ROOT), name = 'theme' } },
    offset_encoding = settings.offset_encoding,
    capabilities = capabilities,
    handlers = {
      ['textDocument/publishDiagnostics'] = function(err, params, ctx, handler_config)
        published[params.uri] = true
        return vim.lsp.handlers['textDocument/publishDiagnostics'](err, params, ctx, handler_config)
      end,
    },
    on_exit = function(code)
      session.result.exit_code = code
    end,
  }))
  vim.cmd('edit ' .. vim.fn.fnameescape(env.ZUVI_LSP_FILE))
  session.buf = vim.api.nvim_get_current_buf()
  local uri = vim.uri_from_bufnr(session.buf)
  vim.lsp.buf_attach_client(session.buf, session.id)
  assert(vim.wait(10000, function() return published[uri] ~= nil end, 10), 'no diagnostics published')
  session.client = vim.lsp.get_client_by_id(session.id)
end

-- The cursor `delta` bytes after the first match of `pattern`; its row.
function session.cursor_at(pattern, delta)
  vim.api.nvim_win_set_cursor(0, { 1, 0 })
  local row, col = unpack(vim.fn.searchpos(pattern, 'cW'))
  assert(row > 0, 'not in the template: ' .. pattern)
  vim.api.nvim_win_set_cursor(0, { row, col - 1 + delta })
  return row
end

-- Runs `steps`, stops the server and waits for it to end, then writes the
-- result (with the error, if a step failed) and quits Neovim.
function session.run(steps)
  local ok, err = xpcall(function()
    steps(session.result)
    vim.lsp.stop_client(session.id)
    assert(vim.wait(5000, function() return session.result.exit_code ~= nil end, 10), 'the server did not end')
  end, debug.traceback)
  if not ok then
    session.result.error = tostring(err)
  end
  local file = assert(io.open(env.ZUVI_LSP_RESULT, 'w'))
  file:write(vim.fn.json_encode(session.result))
  file:close()
  vim.cmd('qa!')
end

return session
