// The Edit menu's commands (see EditCommands.h).
#include "app/EditCommands.h"

#include "document/editor/DocumentEditor.h"

namespace tallyon {

void EditUndo(TDocumentEditor& editor) {
    editor.undo();
}

void EditRedo(TDocumentEditor& editor) {
    editor.redo();
}

void EditCut(TDocumentEditor& editor) {
    if (editor.textCursor().hasSelection()) editor.cutSelection();
}

void EditCopy(TDocumentEditor& editor) {
    editor.copy();
}

void EditPaste(TDocumentEditor& editor) {
    editor.pastePlainText();
}

void EditDelete(TDocumentEditor& editor) {
    editor.deleteSelection();
}

void EditSelectAll(TDocumentEditor& editor) {
    editor.selectAll();
}

}  // namespace tallyon
