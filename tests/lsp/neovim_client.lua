-- Drives `vek lsp` through Neovim's own LSP client (Neovim 0.7's API), as a user's editor would:
-- opens a source with a fault, waits for the diagnostics and asks hover, definition,
-- formatting, rename and a code action, checking each answer.
-- Run by neovim_client_test.sh: VEK is the tool, WORK a folder of the test's own.
local vek = assert(os.getenv("VEK"), "VEK names the tool")
local work = assert(os.getenv("WORK"), "WORK names a folder")
local timeout = 10000

local function check(condition, what)
  if not condition then error(what, 2) end
  print("ok: " .. what)
end

local function lines() return vim.api.nvim_buf_get_lines(0, 0, -1, false) end

-- The line (from 0) and column (from 0) where `text` first stands in the buffer.
local function find(text)
  for k, line in ipairs(lines()) do
    local at = line:find(text, 1, true)
    if at then return k - 1, at - 1 end
  end
  error("no " .. text .. " in the buffer")
end

local function run()
  local source = work .. "/ball.cos"
  local file = assert(io.open(source, "w"))
  file:write(table.concat({
    "* a ball that rolls",
    "inst",
    "new: simp ball 1 0 10 0",
    "setv clas 33882880",
    "endm",
    "scrp 2 5 3 1",
    "doif obv0 eq 1",
    "gsub roll",
    "endi",
    "stop",
    "subr roll",
    "mvtq 1 1",
    "retn",
    "endm",
  }, "\n") .. "\n")
  file:close()
  local expectedFindings = vim.fn.system({vek, "check", source})
  local expectedLayout = vim.fn.systemlist({vek, "format", source})

  vim.cmd("edit " .. vim.fn.fnameescape(source))
  local buffer = vim.api.nvim_get_current_buf()
  local raw = {}
  local id = vim.lsp.start_client({
    name = "vek",
    cmd = {vek, "lsp"},
    root_dir = work,
    handlers = {
      ["textDocument/publishDiagnostics"] = function(err, result, ctx, config)
        raw = result.diagnostics
        return vim.lsp.diagnostic.on_publish_diagnostics(err, result, ctx, config)
      end,
    },
  })
  check(id ~= nil, "the server starts")
  vim.lsp.buf_attach_client(buffer, id)
  local client = vim.lsp.get_client_by_id(id)
  local function ask(method, params)
    local reply, err = client.request_sync(method, params, timeout, buffer)
    assert(reply and not reply.err, method .. ": " .. vim.inspect(err or (reply and reply.err)))
    return reply.result
  end
  local uri = vim.uri_from_bufnr(buffer)
  local function at(line, character)
    return {textDocument = {uri = uri}, position = {line = line, character = character}}
  end

  check(vim.wait(timeout, function() return #vim.diagnostic.get(buffer) > 0 end, 20),
        "diagnostics arrive")
  local shown = vim.diagnostic.get(buffer)
  check(#shown == 1, "one finding")
  local line, column = find("mvtq")
  check(shown[1].lnum == line and shown[1].col == column, "the finding is at the fault")
  check(expectedFindings:find(shown[1].message, 1, true) ~= nil,
        "its text is vek check's: " .. shown[1].message)
  check(shown[1].severity == vim.diagnostic.severity.ERROR, "it is an error")

  line, column = find("setv")
  local hovered = ask("textDocument/hover", at(line, column + 1))
  check(hovered.contents.value:find("^setv") ~= nil, "hover gives setv's entry")

  line, column = find("gsub roll")
  local definition = ask("textDocument/definition", at(line, column + 6))
  local subr = find("subr roll")
  check(definition.uri == uri and definition.range.start.line == subr,
        "definition goes from gsub to its subr")

  local edits = ask("textDocument/formatting", {textDocument = {uri = uri},
                                                options = {tabSize = 4, insertSpaces = false}})
  vim.lsp.util.apply_text_edits(edits, buffer, client.offset_encoding)
  check(vim.deep_equal(lines(), expectedLayout), "formatting gives vek format's layout")

  line, column = find("gsub roll")
  local renamed = ask("textDocument/rename",
                      vim.tbl_extend("force", at(line, column + 6), {newName = "spin"}))
  vim.lsp.util.apply_workspace_edit(renamed, client.offset_encoding)
  local text = table.concat(lines(), "\n")
  check(text:find("gsub spin", 1, true) and text:find("subr spin", 1, true) and
        not text:find("roll\n", 1, true), "rename changes the label and its call")

  line = find("mvtq")
  local actions = ask("textDocument/codeAction", {
    textDocument = {uri = uri},
    range = {start = {line = line, character = 0}, ["end"] = {line = line, character = 0}},
    context = {diagnostics = raw},
  })
  local fix
  for _, action in ipairs(actions) do
    if action.title:find('"mvto"', 1, true) then fix = action end
  end
  check(fix ~= nil, "a code action offers mvto")
  vim.lsp.util.apply_workspace_edit(fix.edit, client.offset_encoding)
  check(vim.wait(timeout, function() return #vim.diagnostic.get(buffer) == 0 end, 20),
        "the fix, sent as an edit, clears the finding")

  client.stop()
  check(vim.wait(timeout, function() return client.is_stopped() end, 20),
        "the server stops on shutdown and exit")
end

local ok, err = pcall(run)
if not ok then
  io.stderr:write("FAILED: " .. tostring(err) .. "\n")
  vim.cmd("cquit 1")
end
vim.cmd("qall!")
