// The variables window: tool bar, list, the list's copy of the rows, and the handlers that
// hand Add, Edit and Delete to the commands unit.
#include "variables/Variables.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QIcon>
#include <QScrollBar>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

#include "settings/SettingsRecord.h"
#include "variables/VariablesCommands.h"

namespace tallyon {

namespace {

constexpr int kWidth = 330;
constexpr int kHeight = 425;

}  // namespace

// The list's copy of the rows. It changes only in refresh(), so the view never sees the
// rows change under it between two refreshes.
class TVariablesModel final : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(shown_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : 2;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
        const TVariableRow& row = shown_[static_cast<std::size_t>(index.row())];
        return index.column() == 0 ? row.Name : row.Value;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        return section == 0 ? QStringLiteral("Name") : QStringLiteral("Value");
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    // Takes the rows. With only values changed the rows keep their places, so the view is
    // told of new values instead of a new set of rows, and keeps selection and scrolling.
    void refresh(const std::vector<TVariableRow>& rows, unsigned changes) {
        if ((changes & TVariableRows::Layout) != 0 || rows.size() != shown_.size()) {
            beginResetModel();
            shown_ = rows;
            endResetModel();
        } else if (!shown_.empty()) {
            for (std::size_t i = 0; i < rows.size(); ++i)
                shown_[i].Value = rows[i].Value;
            emit dataChanged(index(0, 1), index(rowCount() - 1, 1), {Qt::DisplayRole});
        }
    }

    TRowId idAt(int row) const {
        return row >= 0 && row < rowCount() ? shown_[static_cast<std::size_t>(row)].Id : 0;
    }
    int rowOf(TRowId id) const {
        for (std::size_t i = 0; i < shown_.size(); ++i)
            if (shown_[i].Id == id) return static_cast<int>(i);
        return -1;
    }
    const std::vector<TVariableRow>& shown() const { return shown_; }

private:
    std::vector<TVariableRow> shown_;
};

TFrmVariables::TFrmVariables(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FrmVariables"));
    // Hidden or shown, this window never keeps the program running by itself.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(kWidth, kHeight);
    applyLanguage(1);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const auto makeAction = [this](const char* name, const char* caption, const char* icon) {
        auto* action = new QAction(QIcon::fromTheme(QString::fromLatin1(icon)),
                                   QString::fromUtf8(caption), this);
        action->setObjectName(QString::fromLatin1(name));
        ToolBar1->addAction(action);
        return action;
    };
    AtnInsert = makeAction("AtnInsert", "&Add", "list-add");
    AtnEdit = makeAction("AtnEdit", "&Edit", "document-properties");
    AtnDelete = makeAction("AtnDelete", "&Delete", "list-remove");
    connect(AtnInsert, &QAction::triggered, this, &TFrmVariables::AtnInsertExecute);
    connect(AtnEdit, &QAction::triggered, this, &TFrmVariables::AtnEditExecute);
    connect(AtnDelete, &QAction::triggered, this, &TFrmVariables::AtnDeleteExecute);

    LvVariables = new QTreeView(this);
    LvVariables->setObjectName(QStringLiteral("LvVariables"));
    model_ = new TVariablesModel(this);
    LvVariables->setModel(model_);
    FormCreate();

    rows_.SetOnChanged([this] { scheduleRefresh(); });
}

TFrmVariables::~TFrmVariables() {
    rows_.SetOnChanged({});
}

void TFrmVariables::FormCreate() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(LvVariables, 1);

    LvVariables->setRootIsDecorated(false);
    LvVariables->setItemsExpandable(false);
    LvVariables->setUniformRowHeights(true);
    LvVariables->setAllColumnsShowFocus(true);
    LvVariables->setSelectionBehavior(QAbstractItemView::SelectRows);
    LvVariables->setSelectionMode(QAbstractItemView::SingleSelection);
    LvVariables->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LvVariables->setSortingEnabled(false);
    LvVariables->header()->setSectionsClickable(false);
    LvVariables->header()->setSectionsMovable(false);
    LvVariables->header()->setStretchLastSection(false);
    // The selection stays marked when the list loses the focus.
    QPalette palette = LvVariables->palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    LvVariables->setPalette(palette);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    LvVariables->setFont(font);

    connect(LvVariables, &QTreeView::doubleClicked, this, &TFrmVariables::LvVariablesDblClick);
    const auto update = [this] {
        AtnEditUpdate();
        AtnDeleteUpdate();
    };
    connect(LvVariables->selectionModel(), &QItemSelectionModel::selectionChanged, this, update);
    connect(model_, &QAbstractItemModel::modelReset, this, update);
    update();
}

void TFrmVariables::sizeColumns() {
    if (columnsSized_) return;
    columnsSized_ = true;
    const int half = LvVariables->viewport()->width() / 2;
    LvVariables->setColumnWidth(0, half);
    LvVariables->setColumnWidth(1, half);
}

void TFrmVariables::applyLanguage(int language) {
    setWindowTitle(IsEnglish(language) ? QStringLiteral("Variables") : QStringLiteral("変数"));
}

void TFrmVariables::setListFont(const QFont& font) {
    LvVariables->setFont(font);
}

TRowId TFrmVariables::selectedRow() const {
    const QModelIndexList selected = LvVariables->selectionModel()->selectedRows();
    return selected.isEmpty() ? 0 : model_->idAt(selected.first().row());
}

void TFrmVariables::selectRow(TRowId id) {
    const int row = model_->rowOf(id);
    QItemSelectionModel* selection = LvVariables->selectionModel();
    if (row < 0) {
        selection->clearSelection();
        return;
    }
    const QModelIndex index = model_->index(row, 0);
    selection->setCurrentIndex(index,
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    LvVariables->scrollTo(index);
}

void TFrmVariables::scheduleRefresh() {
    if (refreshPending_) return;
    refreshPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            refreshPending_ = false;
            // A hidden window catches up when it is shown.
            if (isVisible()) refreshRows();
        },
        Qt::QueuedConnection);
}

void TFrmVariables::refreshRows() {
    const unsigned changes = rows_.TakeChanges();
    if (changes == TVariableRows::None) return;
    const TRowId selected = selectedRow();
    const int scrolled = LvVariables->verticalScrollBar()->value();
    model_->refresh(rows_.Ordered(), changes);
    if (selected != 0 && selectedRow() != selected) {
        selectRow(selected);
        LvVariables->verticalScrollBar()->setValue(scrolled);
    }
}

std::vector<std::pair<QString, QString>> TFrmVariables::shownRows() const {
    std::vector<std::pair<QString, QString>> rows;
    for (const TVariableRow& row : model_->shown())
        rows.emplace_back(row.Name, row.Value);
    return rows;
}

void TFrmVariables::AtnInsertExecute() {
    if (commands_) commands_->add();
}

void TFrmVariables::AtnEditExecute() {
    if (commands_) commands_->edit(selectedRow());
}

void TFrmVariables::AtnDeleteExecute() {
    if (commands_) commands_->remove(selectedRow());
}

void TFrmVariables::AtnEditUpdate() {
    AtnEdit->setEnabled(selectedRow() != 0);
}

void TFrmVariables::AtnDeleteUpdate() {
    AtnDelete->setEnabled(selectedRow() != 0);
}

void TFrmVariables::LvVariablesDblClick() {
    if (selectedRow() != 0) AtnEditExecute();
}

void TFrmVariables::closeEvent(QCloseEvent* event) {
    // Hidden, not deleted; hidden already when the signal goes out, so its receivers see
    // the window as it will be.
    event->accept();
    hide();
    emit closedByUser();
}

void TFrmVariables::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    sizeColumns();
    refreshRows();
}

}  // namespace tallyon
