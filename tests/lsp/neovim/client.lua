-- Neovim 0.7 as a user's configuration would start the server: the template
-- theme/index.htm opened, the server attached, and then, step by step, what
-- a user does; what Neovim shows after each step is written as JSON for the
-- test to judge. Run by neovim_test.cpp:
--   nvim --headless -u NONE -i NONE -n -c 'luafile client.lua'
-- with ZUVI_LSP_SERVER (the program), ZUVI_LSP_ROOT (the theme folder),
-- ZUVI_LSP_FILE (the template), ZUVI_LSP_RESULT (where the JSON goes) and
-- ZUVI_LSP_ENCODING (utf-16, Neovim's own, or utf-8 asked for in the
-- standard capability).
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
  local config = {
    name = 'zuvi-taggen',
    cmd = { env.ZUVI_LSP_SERVER, 'lsp' },
    root_dir = env.ZUVI_LSP_ROOT,
    workspace_folders = { { uri = vim.uri_from_fname(env.ZUVI_LSP_ROOT), name = 'theme' } },
    handlers = {
      ['textDocument/publishDiagnostics'] = function(err, params, ctx, handler_config)
        published[params.uri] = (published[params.uri] or 0) + 1
        return vim.lsp.handlers['textDocument/publishDiagnostics'](err, params, ctx, handler_config)
      end,
    },
    on_exit = function(code)
      result.exit_code = code
    end,
  }
  if env.ZUVI_LSP_ENCODING == 'utf-8' then
    config.offset_encoding = 'utf-8'
    config.capabilities = vim.tbl_deep_extend('force', vim.lsp.protocol.make_client_capabilities(),
      { general = { positionEncodings = { 'utf-8' } } })
  end
  local id = assert(vim.lsp.start_client(config))
  vim.cmd('edit ' .. vim.fn.fnameescape(env.ZUVI_LSP_FILE))
  local buf = vim.api.nvim_get_current_buf()
  local uri = vim.uri_from_bufnr(buf)
  vim.lsp.buf_attach_client(buf, id)
  assert(vim.wait(10000, function() return published[uri] ~= nil end, 10), 'no diagnostics published')
  local client = vim.lsp.get_client_by_id(id)
  result.encoding = client.offset_encoding
  result.server_encoding = client.server_capabilities.positionEncoding

  -- The diagnostics as Neovim holds them: lines from 0, byte columns.
  local function diagnostics()
    local list = {}
    for _, d in ipairs(vim.diagnostic.get(buf)) do
      table.insert(list, { line = d.lnum, col = d.col, end_col = d.end_col, code = d.code,
                           severity = d.severity, message = d.message })
    end
    table.sort(list, function(a, b) return a.line < b.line or (a.line == b.line and a.col < b.col) end)
    return list
  end
  result.diagnostics = diagnostics()

  -- The cursor `delta` bytes after the first match of `pattern`.
  local function cursor_at(pattern, delta)
    vim.api.nvim_win_set_cursor(0, { 1, 0 })
    local row, col = unpack(vim.fn.searchpos(pattern, 'cW'))
    assert(row > 0, 'not in the template: ' .. pattern)
    vim.api.nvim_win_set_cursor(0, { row, col - 1 + delta })
    return row
  end
  local function request(method, params)
    local answers = vim.lsp.buf_request_sync(buf, method, params, 5000)
    assert(answers and answers[id], 'no answer to ' .. method)
    assert(not answers[id].err, method .. ': ' .. vim.inspect(answers[id].err))
    return answers[id].result
  end

  -- Completion right after "fenye", and the first item taken.
  local row = cursor_at('fenye', 5)
  local params = vim.lsp.util.make_position_params(0, client.offset_encoding)
  local list = request('textDocument/completion', params)
  local first = list.items[1]
  result.completion = { position = params.position, count = #list.items, label = first.label,
                        filterText = first.filterText, insertTextFormat = first.insertTextFormat,
                        textEdit = first.textEdit }
  vim.lsp.util.apply_text_edits({ first.textEdit }, buf, client.offset_encoding)
  result.completed_line = vim.api.nvim_buf_get_lines(buf, row - 1, row, false)[1]

  -- The block closed by typing its closing tag before "</p>": Neovim sends
  -- the change as a range, and the finding goes.
  row = cursor_at('</p>', 0)
  local col = vim.api.nvim_win_get_cursor(0)[2]
  vim.api.nvim_buf_set_text(buf, row - 1, col, row - 1, col, { '{/zuvi:arclist}' })
  local closed = vim.wait(5000, function()
    for _, d in ipairs(vim.diagnostic.get(buf)) do
      if d.code == 'E101' then return false end
    end
    return true
  end, 10)
  assert(closed, 'the closed block is still reported')
  result.diagnostics_after_edit = diagnostics()

  -- K on the tag after the Chinese text: the text of the floating window
  -- Neovim opens, as the user reads it.
  local function floating_text()
    for _, win in ipairs(vim.api.nvim_list_wins()) do
      if vim.api.nvim_win_get_config(win).relative ~= '' then
        local lines = vim.api.nvim_buf_get_lines(vim.api.nvim_win_get_buf(win), 0, -1, false)
        return table.concat(lines, '\n')
      end
    end
  end
  cursor_at('arclist', 2)
  vim.lsp.buf.hover()
  assert(vim.wait(5000, function() return floating_text() ~= nil end, 10), 'no hover shown')
  result.hover = floating_text()

  -- Go to definition on the included file's name: Neovim opens that file
  -- in the window, the cursor at its start. The edited template stays in a
  -- hidden buffer, as a user's configuration with 'hidden' keeps it.
  vim.o.hidden = true
  cursor_at('head.htm', 1)
  vim.lsp.buf.definition()
  assert(vim.wait(5000, function() return vim.api.nvim_get_current_buf() ~= buf end, 10), 'no jump')
  local cursor = vim.api.nvim_win_get_cursor(0)
  result.definition = { file = vim.api.nvim_buf_get_name(0), line = cursor[1], col = cursor[2] }

  vim.lsp.stop_client(id)
  assert(vim.wait(5000, function() return result.exit_code ~= nil end, 10), 'the server did not end')
end

local ok, err = xpcall(run, debug.traceback)
if not ok then
  result.error = tostring(err)
end
finish()
