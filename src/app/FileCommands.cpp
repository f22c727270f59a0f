// The document's file commands and their save question (see FileCommands.h).
#include "app/FileCommands.h"

#include <QFile>
#include <QFileInfo>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "document/DocumentFile.h"
#include "settings/SettingsRecord.h"

namespace tallyon {

namespace {

// The pieces of the save question, one row per occasion and language. The Japanese pieces of
// Create New end in the ASCII full stop, the others in the ideographic one, as they always
// have.
struct QuestionPieces {
    DiscardOccasion occasion;
    bool english;
    const char* namedSuffix;  // follows the name part of the file name
    const char* untitled;     // stands for the whole first piece of an untitled document
    const char* action;
    const char* offer;
};

constexpr QuestionPieces kQuestions[] = {
    {DiscardOccasion::CreateNew, true, " has been modified.", "Current document has been modified.",
     " Creating a new document will discard the change.", " Do you want to save the change?[y/n]"},
    {DiscardOccasion::CreateNew, false, " は変更されています.", "現在の文書は変更されています.",
     " 新規作成を続行すると変更は失われます.", " 変更を保存しますか？[y/n]"},
    {DiscardOccasion::Open, true, " has been modified.", "Current document has been modified.",
     " Opening a new document will discard the change.", " Do you want to save the change?[y/n]"},
    {DiscardOccasion::Open, false, " は変更されています．", "現在の文書は変更されています．",
     " ファイルを開くと、変更は失われます．", " 変更を保存しますか？[y/n]"},
    {DiscardOccasion::Closing, true, " has been modified.", "Current document has been modified.",
     " Closing Tallyon will discard the change.", " Do you want to save the change?[y/n]"},
    {DiscardOccasion::Closing, false, " は変更されています．", "現在の文書は変更されています．",
     " Tallyonを閉じると変更は失われてしまいます．", " 変更を保存しますか？[y/n]"},
};

constexpr const char* kAppName = "Tallyon";

// Both dialogs add ".tyq" to a typed name without an extension. The document patterns also
// list the upper-case spelling: names are case-sensitive here, and documents made on other
// systems are often called *.TYQ. "All files" is "*", since "*.*" would hide every file
// whose name has no dot.
constexpr const char* kDefaultSuffix = "TYQ";
constexpr const char* kSaveFilter =
    "Tallyon document(*.tyq *.TYQ)|*.tyq *.TYQ|Text file(*.txt)|*.txt|All files(*)|*";
constexpr const char* kOpenFilter =
    "TallyonC document(*.tyq *.TYQ)|*.tyq *.TYQ|Text file(*.txt)|*.txt|All files(*)|*";

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), text.size());
}

std::string toUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

std::filesystem::path nativePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString failureText(const std::exception& error) {
    return QString::fromUtf8(error.what());
}

}  // namespace

QString SaveQuestionText(DiscardOccasion occasion, int language, const QString& fileName) {
    const bool english = IsEnglish(language);
    for (const QuestionPieces& q : kQuestions) {
        if (q.occasion != occasion || q.english != english) continue;
        const QString first =
            fileName.isEmpty() ? QString::fromUtf8(q.untitled)
                               : QFileInfo(fileName).fileName() + QString::fromUtf8(q.namedSuffix);
        return first + QString::fromUtf8(q.action) + QString::fromUtf8(q.offer);
    }
    return {};
}

QString DocumentTitle(const QString& fileName) {
    const QString name =
        fileName.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(fileName).fileName();
    return name + QStringLiteral(" - ") + QString::fromUtf8(kAppName);
}

QString ModifiedStatusText(bool modified) {
    return modified ? QStringLiteral("Modified") : QString();
}

QString Utf8FallbackStatusText(int language) {
    return IsEnglish(language)
               ? QStringLiteral("Saved in UTF-8: Shift-JIS cannot hold every character")
               : QStringLiteral("Shift-JISで表せない文字があるため UTF-8 で保存しました");
}

FileChoice DocumentOpenChoice(const QString& initialName) {
    return {QStringLiteral("Open - Tallyon"), QString::fromUtf8(kOpenFilter),
            QString::fromUtf8(kDefaultSuffix), initialName};
}

FileChoice DocumentSaveChoice(const QString& initialName) {
    return {QStringLiteral("Save - Tallyon"), QString::fromUtf8(kSaveFilter),
            QString::fromUtf8(kDefaultSuffix), initialName};
}

PromptButton FileCommands::askToSave(DiscardOccasion occasion) {
    const QString text =
        SaveQuestionText(occasion, host_.settings().Language, host_.documentFileName());
    return Prompts::current().ask(
        host_.promptParent(), QString::fromUtf8(kAppName), text,
        (PromptButton::Yes | PromptButton::No) | static_cast<unsigned>(PromptButton::Cancel),
        PromptIcon::Warning);
}

bool FileCommands::mustAsk() const {
    return host_.isModified() && host_.settings().OptQueryDiscard;
}

void FileCommands::createNew() {
    while (mustAsk()) {
        const PromptButton answer = askToSave(DiscardOccasion::CreateNew);
        if (answer == PromptButton::Cancel) return;
        if (answer == PromptButton::No) break;
        saveAs();  // asks again unless the document is saved now
    }
    host_.clearDocument();
    host_.setModified(false);
    host_.setDocumentFileName({});
    encoding_ = FileEncoding::Utf8;
    updateTitleAndStatus();
}

template <typename Chooser>
void FileCommands::openWith(bool ask, Chooser chooser) {
    for (;;) {
        if (!host_.isModified() || !ask) {
            const QString path = chooser();
            if (!path.isEmpty()) loadFile(path);
            updateTitleAndStatus();
            return;
        }
        const PromptButton answer = askToSave(DiscardOccasion::Open);
        if (answer == PromptButton::Cancel) return;
        if (answer == PromptButton::Yes)
            saveAs();
        else
            host_.setModified(false);
    }
}

void FileCommands::open() {
    openWith(host_.settings().OptQueryDiscard, [this] {
        return Prompts::current().chooseOpenFile(host_.promptParent(),
                                                 DocumentOpenChoice(host_.documentFileName()));
    });
}

void FileCommands::openDropped(const QStringList& paths) {
    if (paths.isEmpty()) return;
    const QString first = paths.first();
    openWith(true, [&first] { return first; });
}

bool FileCommands::loadFile(const QString& path, LoadFailure failure) {
    std::vector<std::string> lines;
    FileEncoding encoding = FileEncoding::Utf8;
    try {
        lines = ReadDocumentFile(nativePath(path), encoding);
    } catch (const std::exception& error) {
        if (failure == LoadFailure::Report) host_.reportError(failureText(error));
        return false;
    }
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines)
        shown << fromUtf8(line);
    host_.showLoadedLines(shown);
    host_.setDocumentFileName(path);
    host_.setModified(false);
    encoding_ = encoding;
    return true;
}

FileCommands::WriteOutcome FileCommands::writeTo(const QString& path) {
    const QStringList shown = host_.documentLines();
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(shown.size()));
    for (const QString& line : shown)
        lines.push_back(toUtf8(line));
    FileEncoding written = encoding_;
    try {
        written = WriteDocumentFile(nativePath(path), lines, encoding_);
    } catch (const std::exception& error) {
        host_.reportError(failureText(error));
        return WriteOutcome::Failed;
    }
    if (written == encoding_) return WriteOutcome::Written;
    encoding_ = written;
    return WriteOutcome::WrittenInUtf8Instead;
}

void FileCommands::finishSave(WriteOutcome outcome) {
    host_.setModified(false);
    updateTitleAndStatus();
    if (outcome != WriteOutcome::WrittenInUtf8Instead) return;
    statusShown_ = Utf8FallbackStatusText(host_.settings().Language);
    host_.showTitleAndStatus(DocumentTitle(host_.documentFileName()), statusShown_);
}

bool FileCommands::save() {
    const QString path = host_.documentFileName();
    if (path.isEmpty()) return saveAs();
    const WriteOutcome outcome = writeTo(path);
    if (outcome == WriteOutcome::Failed) return false;
    finishSave(outcome);
    return true;
}

bool FileCommands::saveAs() {
    const QString path = Prompts::current().chooseSaveFile(
        host_.promptParent(), DocumentSaveChoice(host_.documentFileName()));
    if (path.isEmpty()) return false;
    const WriteOutcome outcome = writeTo(path);
    if (outcome == WriteOutcome::Failed) return false;  // the document keeps its old name
    host_.setDocumentFileName(path);
    finishSave(outcome);
    return true;
}

bool FileCommands::closeQuery() {
    if (!mustAsk()) return true;
    const PromptButton answer = askToSave(DiscardOccasion::Closing);
    if (answer == PromptButton::Cancel) return false;
    if (answer == PromptButton::No) return true;
    saveAs();
    return !host_.isModified();
}

void FileCommands::updateTitleAndStatus() {
    statusShown_ = ModifiedStatusText(host_.isModified());
    host_.showTitleAndStatus(DocumentTitle(host_.documentFileName()), statusShown_);
}

void FileCommands::keyReleased() {
    if (host_.isModified() && statusShown_ != ModifiedStatusText(true)) updateTitleAndStatus();
}

}  // namespace tallyon
