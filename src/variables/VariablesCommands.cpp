// The variables commands over the list, the rows and the host.
#include "variables/VariablesCommands.h"

#include <QFile>
#include <QLineEdit>
#include <filesystem>
#include <memory>

#include "engine/RuvoSub.h"
#include "engine/VariableList.h"
#include "settings/SettingsRecord.h"
#include "variables/EnterValue.h"
#include "variables/Variables.h"
#include "variables/VariablesFile.h"
#include "variables/VariablesHost.h"

namespace tallyon {

namespace {

using Answer = VariablesHost::Answer;

const QString kSaveTitle = QStringLiteral("Save variables - Tallyon");
const QString kOpenTitle = QStringLiteral("Open variables - Tallyon");

QString Pick(int language, const char* english, const char* japanese) {
    return QString::fromUtf8(IsEnglish(language) ? english : japanese);
}

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::filesystem::path NativePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace

QString NotANumberText(int language, const QString& value) {
    return value +
           Pick(language, " is not correct number format.", " は正しい数値書式ではありません。");
}

QString DeleteQuestionText(int language, const QString& name) {
    return IsEnglish(language) ? "Are you sure you want to delete '" + name + "'?[y/n]"
                               : QStringLiteral("本当に ") + name +
                                     QStringLiteral(" を削除してもよろしいですか？[y/n]");
}

QString ClearVariablesQuestionText(int language) {
    return Pick(
        language,
        "Clearing variables will discard the current variables. Do you want to save the "
        "current variables?[y/n]",
        "変数初期化を続けると現在の変数はすべて消去されます.現在の変数を保存しますか？[y/n]");
}

QString OpenVariablesQuestionText(int language) {
    return Pick(
        language,
        "Opening a variables-file will discard all the current variables.Do you want to "
        "save the current variables?[y/n]",
        "変数ファイルを開くと現在の変数はすべて消去されます.現在の変数を保存しますか？[y/n]");
}

QString RowOnlyText(int language, const QString& name) {
    return IsEnglish(language)
               ? "'" + name + "' is shown here but is not a variable, so it cannot be changed."
               : name + QStringLiteral(" は表示されているだけで変数ではないため、変更できません。");
}

VariablesCommands::VariablesCommands(TVariableList& list, TFrmVariables& window,
                                     VariablesHost& host)
    : list_(list), window_(window), host_(host) {}

// ---------------------------------------------------------------------------------------
// The window's commands

void VariablesCommands::add() {
    for (;;) {
        TFrmEnterValue dialog(host_.language(), &window_);
        if (!host_.runValueDialog(dialog)) return;
        const QString name = UpperName(dialog.EditName->text());
        const QString typed = dialog.EditValue->text();
        const int line = list_.Find(Utf8(name));
        if (line >= 0) list_.Delete(line);
        // The old row goes too, also when only the rows showed the name, so Add never leaves
        // two rows of one name behind.
        if (const TRowId old = window_.rows().Find(name)) window_.rows().Delete(old);

        double number = 0;
        try {
            number = static_cast<double>(RuvoStrToFloat(Utf8(typed)));
        } catch (const std::exception&) {  // not a number, or beyond the range of numbers
            const Answer again =
                host_.ask(&window_, NotANumberText(host_.language(), typed), false);
            if (again == Answer::Yes) continue;
            return;
        }
        list_.Set(Utf8(name), GeneralNumberText(number));
        const TRowId row = window_.rows().Add(name, UpperName(typed));
        window_.refreshRows();
        window_.selectRow(row);
        return;
    }
}

int VariablesCommands::listLineOfRow(const TVariableRow& row) {
    const int line = list_.Find(Utf8(row.Name));
    if (line < 0) host_.tell(&window_, RowOnlyText(host_.language(), row.Name));
    return line;
}

void VariablesCommands::edit(TRowId id) {
    const TVariableRow* row = window_.rows().Row(id);
    if (row == nullptr || listLineOfRow(*row) < 0) return;
    TFrmEnterValue dialog(host_.language(), &window_);
    dialog.EditName->setText(row->Name);
    dialog.EditValue->setText(row->Value);
    if (!host_.runValueDialog(dialog)) return;
    row = window_.rows().Row(id);  // the dialog ran the event loop
    if (row == nullptr) return;
    const int line = list_.Find(Utf8(row->Name));
    if (line >= 0) list_.Delete(line);
    const QString name = UpperName(dialog.EditName->text());
    const QString value = UpperName(dialog.EditValue->text());
    list_.Set(Utf8(name), Utf8(value));
    window_.rows().Change(id, name, value);
    window_.refreshRows();
}

void VariablesCommands::remove(TRowId id) {
    const TVariableRow* row = window_.rows().Row(id);
    if (row == nullptr || listLineOfRow(*row) < 0) return;
    const QString name = row->Name;
    if (host_.ask(&window_, DeleteQuestionText(host_.language(), name), false) != Answer::Yes)
        return;
    const int line = list_.Find(Utf8(name));
    if (line >= 0) list_.Delete(line);
    window_.rows().Delete(id);
    window_.refreshRows();
}

// ---------------------------------------------------------------------------------------
// Variables files

bool VariablesCommands::saveVariablesAs() {
    const QString path = host_.chooseSaveFile(host_.promptParent(), kSaveTitle);
    if (path.isEmpty()) return false;
    fileName_ = path;
    try {
        WriteVariablesFile(NativePath(path), list_);
        return true;
    } catch (const std::exception& e) {
        host_.reportError(host_.promptParent(), QString::fromUtf8(e.what()));
        return false;
    }
}

bool VariablesCommands::load(const QString& path, bool report) {
    std::vector<TVariableEntry> entries;
    try {
        entries = ReadVariablesFile(NativePath(path));
    } catch (const std::exception& e) {
        if (report) host_.reportError(host_.promptParent(), QString::fromUtf8(e.what()));
        return false;
    }
    TVariableRows& rows = window_.rows();
    list_.Clear();
    rows.Clear();
    LoadVariables(list_, entries, [&rows](const std::string& name, const std::string& value) {
        rows.ShowVariable(FromUtf8(name), FromUtf8(value));
    });
    return true;
}

void VariablesCommands::openVariables() {
    const Answer answer =
        host_.ask(host_.promptParent(), OpenVariablesQuestionText(host_.language()), true);
    if (answer == Answer::Cancel) return;
    // A save that did not happen (cancelled or failed) keeps the variables.
    if (answer == Answer::Yes) {
        fileName_.clear();
        if (!saveVariablesAs()) return;
    }
    const QString path = host_.chooseOpenFile(host_.promptParent(), kOpenTitle);
    if (path.isEmpty()) return;
    fileName_ = path;
    load(path, true);
}

void VariablesCommands::clearVariables() {
    const Answer answer =
        host_.ask(host_.promptParent(), ClearVariablesQuestionText(host_.language()), true);
    if (answer == Answer::Cancel) return;
    if (answer == Answer::Yes) {
        fileName_.clear();
        if (!saveVariablesAs()) return;
    }
    list_.Clear();
    window_.rows().Clear();
    fileName_.clear();
}

bool VariablesCommands::recall(const QString& path) {
    if (path.isEmpty() || !load(path, false)) return false;
    fileName_ = path;
    return true;
}

// ---------------------------------------------------------------------------------------
// The calculation's reports

namespace {

// Names are folded as the rows fold them: ASCII letters only.
std::string UpperUtf8Name(const std::string& name) {
    std::string upper = name;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

}  // namespace

void VariablesCommands::ShowVariable(const std::string& name, const std::string& value) {
    if (collecting_ == 0) {
        window_.rows().ShowVariable(FromUtf8(name), FromUtf8(value));
        return;
    }
    std::string upper = UpperUtf8Name(name);
    const auto [at, added] = shownAt_.try_emplace(upper, shown_.size());
    if (added) {
        shown_.push_back({std::move(upper), value});
    } else {
        shown_[at->second].value = value;
    }
}

void VariablesCommands::ShowAssignment(const std::string& name, const std::string& value,
                                       int index) {
    if (collecting_ > 0 && index == -1) {
        ShowVariable(name, value);
        return;
    }
    if (collecting_ > 0) putShown(UpperUtf8Name(name));
    window_.rows().ShowAssignment(FromUtf8(name), FromUtf8(value), index);
}

void VariablesCommands::putShown() {
    for (const TShown& shown : shown_)
        if (shown.pending) window_.rows().ShowVariable(FromUtf8(shown.name), FromUtf8(shown.value));
    shown_.clear();
    shownAt_.clear();
}

void VariablesCommands::putShown(const std::string& upperName) {
    const auto at = shownAt_.find(upperName);
    if (at == shownAt_.end()) return;
    TShown& shown = shown_[at->second];
    window_.rows().ShowVariable(FromUtf8(shown.name), FromUtf8(shown.value));
    // A later value of the name is collected afresh, after the element assignment.
    shown.pending = false;
    shownAt_.erase(at);
}

VariablesCommands::CollectShown::CollectShown(VariablesCommands* commands) : commands_(commands) {
    if (commands_ != nullptr) ++commands_->collecting_;
}

VariablesCommands::CollectShown::~CollectShown() {
    if (commands_ != nullptr && --commands_->collecting_ == 0) commands_->putShown();
}

}  // namespace tallyon
