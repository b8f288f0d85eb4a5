// The list box: rows in a model, one selection.
#include "app/toolkit/qt/list_box.h"

#include <QAbstractListModel>
#include <vector>

#include "app/toolkit/dialog_template.h"
#include "app/toolkit/qt/qt_text.h"

namespace toolkit {
namespace {

class ListBoxModel : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return items_[static_cast<std::size_t>(index.row())];
  }
  int Add(QString text) {
    const int row = static_cast<int>(items_.size());
    beginInsertRows({}, row, row);
    items_.push_back(std::move(text));
    endInsertRows();
    return row;
  }
  void Clear() {
    beginResetModel();
    items_.clear();
    endResetModel();
  }

 private:
  std::vector<QString> items_;
};

}  // namespace

QListView* MakeListBox(QWidget* parent, unsigned style) {
  auto* list = new QListView(parent);
  list->setModel(new ListBoxModel(list));
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
  auto* list = qobject_cast<QListView*>(widget);
  auto* model = list ? dynamic_cast<ListBoxModel*>(list->model()) : nullptr;
  if (model == nullptr) return LB_ERR;
  const int count = model->rowCount({});
  switch (message) {
    case LB_ADDSTRING: {
      const char* text = reinterpret_cast<const char*>(lParam);
      return model->Add(ToQt(text ? text : ""));
    }
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
