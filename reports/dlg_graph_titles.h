#pragma once

#include <string>

#include <QDialog>

class QLineEdit;

// The three titles of a graph, edited together: graph title (1008), X-axis
// title (1006) and Y-axis title (1007). Texts are single-byte
// (Windows-1250); they are read back on OK only.
class CDlgGraphTitles final : public QDialog {
    Q_OBJECT

public:
    // Category bars have no X axis to title: its edit is disabled.
    CDlgGraphTitles(const std::string& graphTitle, const std::string& xAxisTitle, const std::string& yAxisTitle,
                    bool xAxisTitled, QWidget* parent = nullptr);

    std::string GraphTitle() const;
    std::string XAxisTitle() const;
    std::string YAxisTitle() const;

private:
    QLineEdit* graphTitle_;
    QLineEdit* xAxisTitle_;
    QLineEdit* yAxisTitle_;
};
