// The enable rules and the clipboard's cached state (see EnableRules.h).
#include "app/EnableRules.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "document/editor/DocumentEditor.h"

namespace tallyon {

CommandState ReadCommandState(const TDocumentEditor& editor, bool clipboardHasText) {
    CommandState state;
    const QTextDocument* document = editor.document();
    state.hasSelection = editor.textCursor().hasSelection();
    state.clipboardHasText = clipboardHasText;
    state.canUndo = document->isUndoAvailable();
    state.canRedo = document->isRedoAvailable();
    state.modified = document->isModified();
    state.hasLines = editor.lineCount() > 0;
    return state;
}

bool RuleHolds(EnableRule rule, const CommandState& state) {
    switch (rule) {
        case EnableRule::Always:
            return true;
        case EnableRule::Selection:
            return state.hasSelection;
        case EnableRule::ClipboardText:
            return state.clipboardHasText;
        case EnableRule::CanUndo:
            return state.canUndo;
        case EnableRule::CanRedo:
            return state.canRedo;
        case EnableRule::Modified:
            return state.modified;
        case EnableRule::HasLines:
            return state.hasLines;
    }
    return true;
}

void ApplyEnableRules(const QList<QAction*>& actions, const CommandState& state) {
    for (QAction* action : actions) {
        const QByteArray name = action->objectName().toLatin1();
        if (const CommandRow* row = FindCommand(name.constData()))
            action->setEnabled(RuleHolds(row->rule, state));
    }
}

ClipboardTextState::ClipboardTextState(QObject* parent) : QObject(parent) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    connect(clipboard, &QClipboard::dataChanged, this, &ClipboardTextState::refresh);
    refresh();
}

void ClipboardTextState::refresh() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    hasText_ = data != nullptr && data->hasText() && !data->text().isEmpty();
}

}  // namespace tallyon
