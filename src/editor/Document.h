#pragma once
// The transcript as a file: one document at a time, its path and whether the user has
// changed it since it was last emptied, loaded or saved. UI thread only.
#include <string>

class TranscriptEditor;

namespace state {
inline std::wstring DocumentPath;
inline bool DocumentModified = false;
}  // namespace state

// The editor the commands work on; set once when EditorWindow is created.
void BindDocumentEditor(TranscriptEditor* editor);

// True: the caller must stop (the user cancelled, or the save he asked for failed).
bool PromptSaveChanges();
bool SaveDocument();
bool SaveDocumentAs();
bool WriteDocument(const std::wstring& path);
void NewDocument();
void OpenDocument();
void MarkDocumentModified();
