#include <gtest/gtest.h>

#include <fstream>

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "control_id.h"
#include "dlg_layers.h"
#include "metafile_bytes.h"
#include "scratch_folder.h"
#include "scripted_prompt_service.h"

namespace {

std::vector<std::uint8_t> PictureInBounds(Rect bounds) {
    std::vector<std::uint8_t> bytes = EmptyMetafile();
    const int edges[] = {bounds.left, bounds.top, bounds.right, bounds.bottom};
    for (int i = 0; i < 4; ++i) bytes = WithUInt32At(bytes, 8 + 4 * i, static_cast<std::uint32_t>(edges[i]));
    return bytes;
}

class DlgLayersTest : public ::testing::Test {
protected:
    ScriptedPromptService prompts;
    int repaints = 0;
    std::function<void()> repaint = [this] { ++repaints; };
    ScratchFolder folder{"layers"};
    // A shown site plan and a hidden old plan.
    BackgroundPictures pictures{{true, {0, 0, 640, 480}, "site plan", EmptyMetafile()},
                                {false, {10, 20, 30, 40}, "old plan", EmptyMetafile()}};

    std::unique_ptr<CDlgLayers> Dialog() {
        auto dialog = std::make_unique<CDlgLayers>(prompts, pictures, repaint);
        dialog->SetUp();
        repaints = 0;
        return dialog;
    }
    QString Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        std::filesystem::path path = folder / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return QString::fromStdString(path.string());
    }
    static QTableWidget& List(CDlgLayers& dialog) { return *FindControl<QTableWidget>(dialog, CDlgLayers::kListId); }
    static QLineEdit& Field(CDlgLayers& dialog, int id) { return *FindControl<QLineEdit>(dialog, id); }
    // A layer's row as the list should show it.
    static QStringList Texts(const BackgroundPicture& layer) {
        const Rect& r = layer.rect;
        return {QString::fromStdString(layer.name), QString::number(r.left), QString::number(r.top),
                QString::number(r.right), QString::number(r.bottom)};
    }
    static QStringList Row(CDlgLayers& dialog, int row) {
        QStringList texts;
        for (int column = 0; column < 5; ++column) texts << List(dialog).item(row, column)->text();
        return texts;
    }
};

TEST_F(DlgLayersTest, ListsTheLayersWithTheirChecksAndShowsTheFirst) {
    auto dialog = Dialog();
    QTableWidget& list = List(*dialog);
    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ(Row(*dialog, 0), Texts(pictures[0]));
    EXPECT_EQ(Row(*dialog, 1), (QStringList{"old plan", "10", "20", "30", "40"}));
    EXPECT_EQ(list.item(0, 0)->checkState(), Qt::Checked);
    EXPECT_EQ(list.item(1, 0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(list.currentRow(), 0);
    EXPECT_EQ(Field(*dialog, CDlgLayers::kNameId).text(), "site plan");
    EXPECT_EQ(Field(*dialog, CDlgLayers::kRightId).text(), "640");
    EXPECT_FALSE(dialog->Modified());
}

TEST_F(DlgLayersTest, LoadsAPictureFileInItsBoundsOrTheDefaultRectangle) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        bool useDefault;
        Rect expected;
    };
    const Case cases[] = {
        {"its header's bounds", PictureInBounds({5, 6, 300, 200}), false, {5, 6, 300, 200}},
        {"the default asked for", PictureInBounds({5, 6, 300, 200}), true, {0, 0, 100, 100}},
        {"bounds of no area", PictureInBounds({50, 50, 50, 80}), false, {0, 0, 100, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pictures.clear();
        CDlgLayers dialog(prompts, pictures, repaint);
        ASSERT_TRUE(dialog.LoadLayerFile(Write("plan.emf", c.bytes), "plan", c.useDefault));
        ASSERT_EQ(pictures.size(), 1u);
        EXPECT_EQ(pictures[0].rect, c.expected);
        EXPECT_TRUE(pictures[0].shown);
        EXPECT_EQ(pictures[0].name, "plan");
        EXPECT_EQ(pictures[0].metafile, c.bytes);
    }
}

TEST_F(DlgLayersTest, AFileThatIsNoPictureIsToldAndLeavesTheLayersAsTheyWere) {
    const BackgroundPictures before = pictures;
    const std::vector<std::uint8_t> picture = EmptyMetafile();
    struct Case {
        const char* what;
        QString path;
    };
    const Case cases[] = {
        {"a wrong signature", Write("signature.emf", WithUInt32At(picture, 40, 0x20202020))},
        {"a short file", Write("short.emf", std::vector<std::uint8_t>(picture.begin(), picture.begin() + 50))},
        {"a header size that lies", Write("header.emf", WithUInt32At(picture, 4, 2000))},
        {"a total size that lies", Write("total.emf", WithUInt32At(picture, 48, 4000))},
        {"no file", QString::fromStdString((folder / "missing.emf").string())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto dialog = Dialog();
        prompts.prompts.clear();
        prompts.fileNames = {c.path};
        dialog->AddLayer();
        ASSERT_EQ(prompts.Messages().size(), 1u);
        EXPECT_EQ(prompts.Messages()[0].text, "Cannot load layer file: " + c.path + "!");
        EXPECT_EQ(pictures.size(), before.size());
        EXPECT_EQ(List(*dialog).rowCount(), 2);
        EXPECT_FALSE(dialog->Modified());
        EXPECT_EQ(repaints, 0);
    }
    ASSERT_EQ(prompts.prompts[0].kind, ScriptedPromptService::Kind::OpenFile);
    EXPECT_EQ(prompts.prompts[0].filters[0].description, "Enhanced Meta File (*.EMF)");
    EXPECT_EQ(prompts.prompts[0].filters[0].patterns, "*.EMF");
}

TEST_F(DlgLayersTest, ANewLayerShowsItsOwnRectangleSelectedAndRepaints) {
    auto dialog = Dialog();
    prompts.fileNames = {Write("new.emf", PictureInBounds({0, 0, 199, 99}))};
    dialog->AddLayer();
    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_EQ(pictures[2].name, "New Layer");
    EXPECT_EQ(Row(*dialog, 2), (QStringList{"New Layer", "0", "0", "199", "99"}));
    EXPECT_EQ(List(*dialog).item(2, 0)->checkState(), Qt::Checked);
    EXPECT_EQ(List(*dialog).currentRow(), 2);
    EXPECT_EQ(Field(*dialog, CDlgLayers::kNameId).text(), "New Layer");
    EXPECT_TRUE(dialog->Modified());
    EXPECT_EQ(repaints, 1);

    prompts.fileNames = {std::nullopt};  // the user cancelled the file dialog
    dialog->AddLayer();
    EXPECT_EQ(pictures.size(), 3u);
}

TEST_F(DlgLayersTest, AChangedCheckShowsOrHidesTheLayerAtOnceAndCancelKeepsIt) {
    auto dialog = Dialog();
    List(*dialog).item(0, 0)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(pictures[0].shown);
    EXPECT_TRUE(dialog->Modified());
    EXPECT_EQ(repaints, 1);
    dialog->reject();
    EXPECT_FALSE(pictures[0].shown);

    auto again = Dialog();
    List(*again).item(1, 0)->setCheckState(Qt::Checked);
    EXPECT_TRUE(pictures[1].shown);
    EXPECT_EQ(List(*again).currentRow(), 1);
    EXPECT_EQ(Field(*again, CDlgLayers::kNameId).text(), "old plan");
    EXPECT_EQ(repaints, 1);
}

TEST_F(DlgLayersTest, UpdateStoresTheFieldsAndRepaintsOnlyWhatShows) {
    struct Case {
        const char* what;
        int row;
        int fieldId;
        QString typed;
        int repaints;
    };
    const Case cases[] = {
        {"a hidden layer renamed", 1, CDlgLayers::kNameId, "older plan", 0},
        {"a hidden layer moved", 1, CDlgLayers::kLeftId, "15", 0},
        {"a shown layer moved", 0, CDlgLayers::kBottomId, "500", 1},
        {"a shown layer renamed", 0, CDlgLayers::kNameId, "new site plan", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BackgroundPictures before = pictures;
        auto dialog = Dialog();
        List(*dialog).selectRow(c.row);
        Field(*dialog, c.fieldId).setText(c.typed);
        FindControl<QPushButton>(*dialog, CDlgLayers::kUpdateId)->click();
        EXPECT_TRUE(dialog->Modified());
        EXPECT_EQ(repaints, c.repaints);
        EXPECT_TRUE(Row(*dialog, c.row).contains(c.typed));
        EXPECT_EQ(Row(*dialog, c.row), Texts(pictures[c.row]));
        pictures = before;
    }

    auto unchanged = Dialog();
    FindControl<QPushButton>(*unchanged, CDlgLayers::kUpdateId)->click();
    EXPECT_FALSE(unchanged->Modified());
}

TEST_F(DlgLayersTest, RemoveTakesTheSelectedLayerAndSelectsItsNeighbour) {
    pictures.push_back({true, {1, 2, 3, 4}, "third", EmptyMetafile()});
    auto dialog = Dialog();
    QTableWidget& list = List(*dialog);
    list.selectRow(2);
    dialog->OnRemove();
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.currentRow(), 1);
    EXPECT_EQ(Field(*dialog, CDlgLayers::kNameId).text(), "old plan");
    EXPECT_TRUE(dialog->Modified());
    EXPECT_EQ(repaints, 1);  // the removed layer was shown

    dialog->OnRemove();  // the hidden old plan
    EXPECT_EQ(repaints, 1);
    list.selectRow(0);
    dialog->OnRemove();
    EXPECT_TRUE(pictures.empty());
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(repaints, 2);
}

TEST_F(DlgLayersTest, RemoveAndUpdateWithoutASelectionDoNothing) {
    auto dialog = Dialog();
    List(*dialog).clearSelection();
    Field(*dialog, CDlgLayers::kNameId).setText("renamed");
    dialog->OnUpdate();
    dialog->OnRemove();
    EXPECT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0].name, "site plan");
    EXPECT_FALSE(dialog->Modified());
    EXPECT_EQ(repaints, 0);
}

}  // namespace
