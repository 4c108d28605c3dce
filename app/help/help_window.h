#pragma once

#include <vector>

#include <QString>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

// One page of the program's manual, as the contents list it.
struct HelpTopic {
    QString page;   // its file among the manual's resources
    QString title;  // the page's own title
};

// The program's manual in a window of its own: the page in a browser, and
// beside it the contents, an index of keywords and a search over the
// pages' text.
class CHelpWindow : public QWidget {
public:
    enum class Tab { Contents = 0, Index = 1, Search = 2 };

    explicit CHelpWindow(QWidget* parent = nullptr);

    // Shows the window on the tab; Contents also goes back to the manual's
    // first page. The search tab takes the keys at once.
    void ShowTab(Tab tab);

    // The pages whose text holds every word of the query, case ignored, in
    // the order of the contents; none for a query without words.
    std::vector<HelpTopic> Search(const QString& query) const;
    // Runs the search of the search tab and lists what it found.
    void ListTopics(const QString& query);

    const std::vector<HelpTopic>& Topics() const { return topics_; }
    Tab CurrentTab() const;
    // The page shown, as its resource name.
    QString CurrentPage() const;
    // Shows the page, an anchor after '#' allowed.
    void OpenPage(const QString& page);
    QListWidget& IndexList() const { return *indexList_; }
    QListWidget& SearchResults() const { return *searchResults_; }

private:
    struct Keyword {
        QString word;
        QString page;
    };
    struct PageText {
        QString page;
        QString title;
        QString plainText;  // lower case
    };

    void ReadManual();
    QWidget* MakeContentsTab();
    QWidget* MakeIndexTab();
    QWidget* MakeSearchTab();
    void FilterIndex(const QString& start);

    std::vector<HelpTopic> topics_;
    std::vector<Keyword> keywords_;
    std::vector<PageText> texts_;
    QTabWidget* tabs_ = nullptr;
    QTextBrowser* browser_ = nullptr;
    QListWidget* indexList_ = nullptr;
    QLineEdit* indexFilter_ = nullptr;
    QLineEdit* searchQuery_ = nullptr;
    QListWidget* searchResults_ = nullptr;
};
