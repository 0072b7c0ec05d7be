-- Neovim 0.7 as a user's configuration would start the server: the template
-- theme/index.htm opened, the server attached, and then, step by step, what
-- a user does; what Neovim shows after each step is written as JSON for the
-- test to judge. Run by neovim_test.cpp:
--   nvim --headless -u NONE -i NONE -n -c 'luafile client.lua'
-- with ZUVI_LSP_SERVER (the program), ZUVI_LSP_ROOT (the theme folder),
-- ZUVI_LSP_FILE (the template), ZUVI_LSP_RESULT (where the JSON goes) and
-- ZUVI_LSP_ENCODING (utf-16, Neovim's own, or utf-8 asked for in the
-- standard capability).
local session = dofile(vim.fn.fnamemodify(debug.getinfo(1, 'S').source:sub(2), ':h') .. '/session.lua')
local cursor_at = session.cursor_at

session.run(function(result)
  local settings = nil
  if vim.env.ZUVI_LSP_ENCODING == 'utf-8' then
    settings = { offset_encoding = 'utf-8', capabilities = { general = { positionEncodings = { 'utf-8' } } } }
  end
  session.open(settings)
  local id, buf, client = session.id, session.buf, session.client
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

end)
