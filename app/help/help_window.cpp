#include "help_window.h"

#include <algorithm>

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

namespace {

constexpr const char* kManualFolder = ":/help/manual/";

// The manual's pages in the order its contents list them.
constexpr const char* kContents[] = {
    "index.html",        "networks.html",    "drawing.html",   "elements.html",
    "appearance.html",   "power_flow.html",  "pv_curves.html", "transfer_capability.html",
    "sensitivities.html", "reports.html",    "printing.html",  "database.html",
    "remote.html",       "solver.html",      "file_formats.html",
};

QString ReadPage(const QString& page) {
    QFile file(kManualFolder + page);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

QString TitleOf(const QString& html, const QString& fallback) {
    static const QRegularExpression title("<title>(.*?)</title>", QRegularExpression::DotMatchesEverythingOption);
    QRegularExpressionMatch match = title.match(html);
    return match.hasMatch() ? match.captured(1).trimmed() : fallback;
}

// The index entries a page declares: <meta name="keywords" content="a; b">.
QStringList KeywordsOf(const QString& html) {
    static const QRegularExpression meta("<meta name=\"keywords\" content=\"([^\"]*)\"");
    QRegularExpressionMatch match = meta.match(html);
    QStringList words;
    if (!match.hasMatch()) return words;
    for (const QString& word : match.captured(1).split(';')) {
        if (!word.trimmed().isEmpty()) words.append(word.trimmed());
    }
    return words;
}

QStringList WordsOf(const QString& query) {
    return query.toLower().split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
}

}  // namespace

CHelpWindow::CHelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle("Quellmark Help");
    ReadManual();
    tabs_ = new QTabWidget;
    tabs_->addTab(MakeContentsTab(), "Contents");
    tabs_->addTab(MakeIndexTab(), "Index");
    tabs_->addTab(MakeSearchTab(), "Search");
    browser_ = new QTextBrowser;
    browser_->setSearchPaths({kManualFolder});
    browser_->setOpenExternalLinks(true);
    auto* splitter = new QSplitter;
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(900, 640);
    OpenPage(kContents[0]);
}

void CHelpWindow::ReadManual() {
    // The pages live in a static library's resources, which are linked
    // in only when asked for.
    Q_INIT_RESOURCE(help);
    for (const char* page : kContents) {
        const QString html = ReadPage(page);
        const QString title = TitleOf(html, page);
        topics_.push_back({page, title});
        texts_.push_back({page, title, QTextDocumentFragment::fromHtml(html).toPlainText().toLower()});
        for (const QString& word : KeywordsOf(html)) keywords_.push_back({word, page});
    }
    std::stable_sort(keywords_.begin(), keywords_.end(), [](const Keyword& a, const Keyword& b) {
        return a.word.compare(b.word, Qt::CaseInsensitive) < 0;
    });
}

QWidget* CHelpWindow::MakeContentsTab() {
    auto* list = new QListWidget;
    for (const HelpTopic& topic : topics_) {
        auto* item = new QListWidgetItem(topic.title, list);
        item->setData(Qt::UserRole, topic.page);
    }
    connect(list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { OpenPage(item->data(Qt::UserRole).toString()); });
    connect(list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { OpenPage(item->data(Qt::UserRole).toString()); });
    return list;
}

QWidget* CHelpWindow::MakeIndexTab() {
    auto* tab = new QWidget;
    indexFilter_ = new QLineEdit;
    indexList_ = new QListWidget;
    for (const Keyword& keyword : keywords_) {
        auto* item = new QListWidgetItem(keyword.word, indexList_);
        item->setData(Qt::UserRole, keyword.page);
    }
    connect(indexFilter_, &QLineEdit::textChanged, this, [this](const QString& text) { FilterIndex(text); });
    connect(indexList_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { OpenPage(item->data(Qt::UserRole).toString()); });
    connect(indexList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { OpenPage(item->data(Qt::UserRole).toString()); });
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(new QLabel("Type in the keyword to find:"));
    layout->addWidget(indexFilter_);
    layout->addWidget(indexList_);
    return tab;
}

QWidget* CHelpWindow::MakeSearchTab() {
    auto* tab = new QWidget;
    searchQuery_ = new QLineEdit;
    auto* listTopics = new QPushButton("&List Topics");
    searchResults_ = new QListWidget;
    auto run = [this] { ListTopics(searchQuery_->text()); };
    connect(searchQuery_, &QLineEdit::returnPressed, this, run);
    connect(listTopics, &QPushButton::clicked, this, run);
    connect(searchResults_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { OpenPage(item->data(Qt::UserRole).toString()); });
    connect(searchResults_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { OpenPage(item->data(Qt::UserRole).toString()); });
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(new QLabel("Type in the word(s) to search for:"));
    layout->addWidget(searchQuery_);
    layout->addWidget(listTopics);
    layout->addWidget(new QLabel("Select topic to display:"));
    layout->addWidget(searchResults_);
    return tab;
}

void CHelpWindow::FilterIndex(const QString& start) {
    // The first keyword that begins with what was typed comes into view.
    for (int row = 0; row < indexList_->count(); ++row) {
        if (indexList_->item(row)->text().startsWith(start, Qt::CaseInsensitive)) {
            indexList_->setCurrentRow(row);
            indexList_->scrollToItem(indexList_->item(row), QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

std::vector<HelpTopic> CHelpWindow::Search(const QString& query) const {
    const QStringList words = WordsOf(query);
    std::vector<HelpTopic> found;
    if (words.isEmpty()) return found;
    for (const PageText& text : texts_) {
        const bool holdsAll = std::all_of(words.begin(), words.end(),
                                          [&](const QString& word) { return text.plainText.contains(word); });
        if (holdsAll) found.push_back({text.page, text.title});
    }
    return found;
}

void CHelpWindow::ListTopics(const QString& query) {
    searchResults_->clear();
    for (const HelpTopic& topic : Search(query)) {
        auto* item = new QListWidgetItem(topic.title, searchResults_);
        item->setData(Qt::UserRole, topic.page);
    }
}

void CHelpWindow::ShowTab(Tab tab) {
    tabs_->setCurrentIndex(static_cast<int>(tab));
    if (tab == Tab::Contents) OpenPage(kContents[0]);
    show();
    raise();
    activateWindow();
    if (tab == Tab::Index) indexFilter_->setFocus();
    if (tab == Tab::Search) searchQuery_->setFocus();
}

CHelpWindow::Tab CHelpWindow::CurrentTab() const { return static_cast<Tab>(tabs_->currentIndex()); }

QString CHelpWindow::CurrentPage() const { return browser_->source().fileName(); }

void CHelpWindow::OpenPage(const QString& page) { browser_->setSource(QUrl(page)); }
