#include "message_list.h"

MessageList::MessageList(std::vector<QIcon> levelIcons, QObject* parent)
    : QAbstractTableModel(parent), levelIcons_(std::move(levelIcons)) {}

void MessageList::Append(Row row) { rows_.push_back(std::move(row)); }

void MessageList::Announce() {
    if (announced_ == Count()) return;
    beginInsertRows({}, announced_, Count() - 1);
    announced_ = Count();
    endInsertRows();
}

QIcon MessageList::LevelIcon(int level) const {
    if (level < 0 || level >= static_cast<int>(levelIcons_.size())) return {};
    return levelIcons_[static_cast<size_t>(level)];
}

int MessageList::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : announced_; }

int MessageList::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant MessageList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= announced_) return {};
    const Row& row = At(index.row());
    switch (role) {
        case Qt::DisplayRole:
            return index.column() == TimeColumn ? row.time : row.text;
        case Qt::DecorationRole: {
            if (index.column() != TimeColumn) return {};
            QIcon icon = LevelIcon(row.level);
            return icon.isNull() ? QVariant() : QVariant(icon);
        }
        default:
            return {};
    }
}

QVariant MessageList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == TimeColumn ? QString(" Time") : QString("Message");
}
