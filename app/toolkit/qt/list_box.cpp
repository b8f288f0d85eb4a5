// The list box: rows in a model, one selection.
#include "app/toolkit/qt/list_box.h"

#include <QAbstractListModel>
#include <string>
#include <string_view>
#include <vector>

#include "app/toolkit/dialog_template.h"
#include "app/toolkit/qt/qt_text.h"

namespace toolkit {
namespace {

// The rows as Windows-1252 bytes in one buffer, converted for Qt only when
// the view asks for a row (the few on screen). Rows added in a burst reach
// the view as one insertion, not one each: a list of the whole book fills
// in one step.
class ListBoxModel : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(rowsShown_);
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    const std::size_t begin = row == 0 ? 0 : ends_[row - 1];
    return ToQt(std::string_view(bytes_).substr(begin, ends_[row] - begin));
  }
  // Adds a row at the end and returns its index; the view hears of it at
  // the next Flush, which is due once control returns to the event loop.
  int Add(std::string_view text) {
    bytes_.append(text);
    ends_.push_back(bytes_.size());
    if (!flushDue_) {
      flushDue_ = true;
      QMetaObject::invokeMethod(this, [this] { Flush(); }, Qt::QueuedConnection);
    }
    return static_cast<int>(ends_.size() - 1);
  }
  void Flush() {
    flushDue_ = false;
    if (rowsShown_ == ends_.size()) return;
    beginInsertRows({}, static_cast<int>(rowsShown_), static_cast<int>(ends_.size() - 1));
    rowsShown_ = ends_.size();
    endInsertRows();
  }
  void Clear() {
    beginResetModel();
    bytes_.clear();
    ends_.clear();
    rowsShown_ = 0;
    endResetModel();
  }

 private:
  std::string bytes_;
  std::vector<std::size_t> ends_;  // where each row's bytes end
  std::size_t rowsShown_ = 0;      // the rows the view has been told of
  bool flushDue_ = false;
};

// The list box control: its model is always a ListBoxModel.
class ListBoxView : public QListView {
 public:
  explicit ListBoxView(QWidget* parent) : QListView(parent), model_(new ListBoxModel(this)) {
    setModel(model_);
  }
  ListBoxModel* Rows() const { return model_; }

 protected:
  // A single-selection list box always keeps a row selected once one is: a
  // click below the last row does nothing, and Ctrl+click or Ctrl+Space on
  // the selected row leaves it selected instead of clearing it.
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override {
    if (!index.isValid()) return QItemSelectionModel::NoUpdate;
    const QItemSelectionModel::SelectionFlags flags = QListView::selectionCommand(index, event);
    if (flags & (QItemSelectionModel::Toggle | QItemSelectionModel::Deselect)) {
      return QItemSelectionModel::ClearAndSelect;
    }
    return flags;
  }

 private:
  ListBoxModel* model_;
};

}  // namespace

QListView* MakeListBox(QWidget* parent, unsigned style) {
  auto* list = new ListBoxView(parent);
  list->setUniformItemSizes(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setTextElideMode(Qt::ElideNone);
  list->setWordWrap(false);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                        : Qt::ScrollBarAlwaysOff);
  list->setFrameShape((style & WS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
  return list;
}

LRESULT ListBoxMessage(QWidget* widget, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* list = dynamic_cast<ListBoxView*>(widget);
  if (list == nullptr) return LB_ERR;
  ListBoxModel* model = list->Rows();
  if (message == LB_ADDSTRING) {
    const char* text = reinterpret_cast<const char*>(lParam);
    return model->Add(text ? text : "");
  }
  model->Flush();  // every other message sees every row added
  const int count = model->rowCount({});
  switch (message) {
    case LB_RESETCONTENT:
      model->Clear();
      return 0;
    case LB_GETCOUNT:
      return count;
    case LB_SETCURSEL: {
      const auto index = static_cast<int>(static_cast<LPARAM>(wParam));
      if (index < 0 || index >= count) {
        list->clearSelection();
        list->setCurrentIndex({});
        return LB_ERR;  // also for -1, which clears the selection
      }
      const QModelIndex item = model->index(index);
      list->setCurrentIndex(item);
      list->selectionModel()->select(item, QItemSelectionModel::ClearAndSelect);
      list->scrollTo(item);
      return index;
    }
    case LB_GETCURSEL: {
      const QModelIndexList selected = list->selectionModel()->selectedIndexes();
      return selected.isEmpty() ? LB_ERR : selected.first().row();
    }
    default:
      return LB_ERR;
  }
}

}  // namespace toolkit
