// The Edit menu's commands: Undo, Redo, Cut, Copy, Paste, Delete and Select All.
//
// The commands act on the document editor through its user-edit operations, so an edit that
// touches an answer removes the answer whole, and Paste takes only the clipboard's plain
// text: formatting copied elsewhere never reaches the document, whose colours belong to its
// answers.
#pragma once

namespace tallyon {

class TDocumentEditor;

// Each command changes the document or the clipboard as its menu entry says. Undo, Redo,
// Cut, Paste and Delete change the document; the caller updates title and status afterwards.
void EditUndo(TDocumentEditor& editor);
void EditRedo(TDocumentEditor& editor);
void EditCut(TDocumentEditor& editor);
void EditCopy(TDocumentEditor& editor);
// The clipboard's plain text replaces the selection; nothing happens without text.
void EditPaste(TDocumentEditor& editor);
void EditDelete(TDocumentEditor& editor);
void EditSelectAll(TDocumentEditor& editor);

}  // namespace tallyon
