#pragma once

#include <vector>

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>

// The rows of the message window: the time a message came, its level and
// its text, in the order they came. Rows are only ever added. Rows are kept
// at once but shown to the views only when announced, so that a burst of
// messages costs the views one insertion. A level outside the icons given
// shows no icon.
class MessageList : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { TimeColumn = 0, TextColumn = 1 };

    struct Row {
        QString time;
        int level;
        QString text;
    };

    // `levelIcons[level]` is the icon of a row of that level.
    explicit MessageList(std::vector<QIcon> levelIcons, QObject* parent = nullptr);

    // Keeps the row; views see it after the next Announce.
    void Append(Row row);
    // Shows the views every row kept since the last announcement.
    void Announce();
    const Row& At(int row) const { return rows_.at(static_cast<size_t>(row)); }
    // Every row kept, announced or not.
    int Count() const { return static_cast<int>(rows_.size()); }
    // The icon of a level, or a null icon for a level without one.
    QIcon LevelIcon(int level) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<QIcon> levelIcons_;
    std::vector<Row> rows_;
    int announced_ = 0;
};
