// The document's file commands: Create New, Open, Save, Save As, opening a dropped file and
// the close query, together with the question that offers to save a modified document before
// it is discarded and the window title that names the document.
//
// The commands talk to the window through DocumentHost (the document text, its modified flag,
// the current file name, the settings, the title and status) and to the user through
// Prompts, so they need nothing of the window beyond that interface.
// Reading and writing go through the document core's file functions: a read either yields
// every line or leaves the document untouched, and a write replaces the file atomically, so a
// failure never costs the user the old file or the text on screen. Failures are reported in
// an error box; a save that failed counts as not done, so the document stays modified and a
// question that offered to save comes again. A document is saved in the encoding it was
// read in (new documents in UTF-8); when Shift-JIS cannot represent its text any more it is
// saved in UTF-8 instead, and the status bar says so.
#pragma once

#include <QString>
#include <QStringList>

#include "app/Prompts.h"
#include "textfile/TextFile.h"

class QWidget;

namespace tallyon {

struct TSettingsRecord;

// The occasions on which a modified document may be discarded; each has its own question.
enum class DiscardOccasion { CreateNew, Open, Closing };

// The save question for `occasion`: the document named by the name part of `fileName` (or
// as the current document when `fileName` is empty), the action, and the offer to save.
// English when `language` is 1, Japanese for every other value.
QString SaveQuestionText(DiscardOccasion occasion, int language, const QString& fileName);

// "Untitled - Tallyon", or the name part of `fileName` followed by " - Tallyon".
QString DocumentTitle(const QString& fileName);

// The text of the first status panel: "Modified" while the document is modified.
QString ModifiedStatusText(bool modified);

// The status text after a save that had to use UTF-8 for a document read in Shift-JIS.
// English when `language` is 1, Japanese for every other value.
QString Utf8FallbackStatusText(int language);

// The open and save dialogs for documents, preset to `initialName`.
FileChoice DocumentOpenChoice(const QString& initialName);
FileChoice DocumentSaveChoice(const QString& initialName);

// What the file commands need from the window that shows the document.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;

    // Parent for message boxes and dialogs (may be nullptr).
    virtual QWidget* promptParent() = 0;
    virtual const TSettingsRecord& settings() const = 0;

    virtual bool isModified() const = 0;
    virtual void setModified(bool modified) = 0;
    // Every document line, without line breaks.
    virtual QStringList documentLines() const = 0;
    // Replaces the whole text by `lines` under the busy mark, colours every line (arrows and
    // answers coloured, bold and protected) and clears the modified flag and undo history.
    virtual void showLoadedLines(const QStringList& lines) = 0;
    // Empties the document under the busy mark.
    virtual void clearDocument() = 0;

    // The current document file name; empty for an untitled document.
    virtual QString documentFileName() const = 0;
    virtual void setDocumentFileName(const QString& fileName) = 0;

    // Shows `title` as window and application title and `status` in the first status panel.
    virtual void showTitleAndStatus(const QString& title, const QString& status) = 0;
    // Reports a failure in the application's error box.
    virtual void reportError(const QString& message) = 0;
};

class FileCommands {
public:
    explicit FileCommands(DocumentHost& host) : host_(host) {}

    // Create New: after the Create New question (when the document is modified and the user
    // wants to be asked) empties the document and makes it untitled.
    void createNew();
    // Open: after the Open question, lets the user choose a file and loads it.
    void open();
    // Save: writes the document to its file, or runs Save As for an untitled document.
    // Returns true when the document was written.
    bool save();
    // Save As: lets the user choose a name, then saves under it. Returns true when written;
    // a cancelled dialog or a failed write leaves name and modified flag as they were.
    bool saveAs();
    // Files dropped on the window: the first one is opened after the Open question, which
    // is asked whatever the user's choice about being asked. An empty list does nothing.
    void openDropped(const QStringList& paths);
    // The close query: true when the window may close (document saved, discarded or never
    // modified), false when the user cancelled or the save did not happen.
    bool closeQuery();

    // How a load that fails is told: a command reports it in a message box; the start-up
    // load of the last or named document stays silent.
    enum class LoadFailure { Report, Silent };

    // Loads `path` as the document: on success the file name becomes `path`, every line is
    // coloured and the document is unmodified. On failure the text and the file name stay
    // as they were, the error is reported unless `failure` is Silent, and false is returned.
    bool loadFile(const QString& path, LoadFailure failure = LoadFailure::Report);

    // Window title, application title and the "Modified" panel, from the file name and the
    // modified flag.
    void updateTitleAndStatus();
    // After a key is released: shows "Modified" at once when typing modified the document.
    void keyReleased();

private:
    // Shows the save question for `occasion` in a warning box with Yes, No and Cancel.
    PromptButton askToSave(DiscardOccasion occasion);
    // Whether the save question is due before a modified document is discarded.
    bool mustAsk() const;
    // Open's loop: `chooser` yields the file to load (empty: none); the question comes first
    // while the document is modified and `ask` holds.
    template <typename Chooser>
    void openWith(bool ask, Chooser chooser);
    enum class WriteOutcome { Failed, Written, WrittenInUtf8Instead };
    // Writes the document to `path` in its encoding; a failure is reported.
    WriteOutcome writeTo(const QString& path);
    // After a successful write: unmodified, title and status, and the note of a fallback.
    void finishSave(WriteOutcome outcome);

    DocumentHost& host_;
    QString statusShown_;  // what the first status panel shows since the last update
    FileEncoding encoding_ = FileEncoding::Utf8;  // of the file the document was read from
};

}  // namespace tallyon
