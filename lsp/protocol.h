#pragma once

// Numbers the Language Server Protocol gives names to, in one place.
namespace protocol {

enum class TextDocumentSyncKind { None = 0, Full = 1, Incremental = 2 };

enum class DiagnosticSeverity { Error = 1, Warning = 2, Information = 3, Hint = 4 };

enum class MessageType { Error = 1, Warning = 2, Info = 3, Log = 4 };

enum class CompletionItemKind { Property = 10, Value = 12, Keyword = 14, Snippet = 15 };

enum class InsertTextFormat { PlainText = 1, Snippet = 2 };

enum class SymbolKind { File = 1, Struct = 23 };

// FileChangeType of workspace/didChangeWatchedFiles.
enum class FileChangeType { Created = 1, Changed = 2, Deleted = 3 };

enum class DocumentHighlightKind { Text = 1 };

// WatchKind: flags.
enum WatchKind { WatchCreate = 1, WatchChange = 2, WatchDelete = 4 };

// JSON numbers of the enumerations above.
template<typename Enum>
constexpr int number(Enum value)
{
    return static_cast<int>(value);
}

} // namespace protocol
