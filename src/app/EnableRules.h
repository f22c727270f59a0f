// The enable rules of the main window's commands: whenever the program falls idle, every
// command's enabled state follows its row's rule (CommandTable.h) from a few facts gathered
// once per pass.
//
// An idle pass never reads the clipboard: on X11 reading it is a conversation with the
// program that owns it, whose answer wakes the event loop, which falls idle again and reads
// again, a busy loop for as long as another program owns the clipboard. Whether the
// clipboard holds text is kept by ClipboardTextState, which looks only when the clipboard
// announces a change.
#pragma once

#include <QList>
#include <QObject>

#include "app/CommandTable.h"

class QAction;

namespace tallyon {

class TDocumentEditor;

// The facts the enable rules look at.
struct CommandState {
    bool hasSelection = false;  // the document's selection is not empty
    bool clipboardHasText = false;
    bool canUndo = false;
    bool canRedo = false;
    bool modified = false;
    bool hasLines = false;  // the document holds at least one line
};

// The facts of `editor`; `clipboardHasText` comes from a ClipboardTextState.
CommandState ReadCommandState(const TDocumentEditor& editor, bool clipboardHasText);

// Whether `rule` enables its commands in `state`.
bool RuleHolds(EnableRule rule, const CommandState& state);

// Sets the enabled state of every action that is a command of the table by its rule.
void ApplyEnableRules(const QList<QAction*>& actions, const CommandState& state);

// Whether the system clipboard holds text, updated when the clipboard changes.
class ClipboardTextState : public QObject {
    Q_OBJECT
public:
    explicit ClipboardTextState(QObject* parent);
    bool hasText() const { return hasText_; }

private:
    void refresh();
    bool hasText_ = false;
};

}  // namespace tallyon
