#include <gtest/gtest.h>

#include <QComboBox>
#include <QTemporaryDir>

#include "app_test_support.h"
#include "batch/batch_window.h"
#include "dialogs/print_preview_window.h"
#include "finishing/add_text_window.h"
#include "finishing/frames_window.h"
#include "imaging/error.h"
#include "mainwindow/startup.h"
#include "ui/language.h"

namespace gt {
namespace {

TEST(TextTables, ParseQuotedTextsWithTheirTrailingBlanks) {
    const TextTable t = TextTable::parse(QStringLiteral("# comment\n\nA.b\t\"x  \"\r\nA.c\t\"\"\n"), QStringLiteral("t"));
    EXPECT_EQ(t.text(QStringLiteral("A.b")), QStringLiteral("x  "));
    EXPECT_TRUE(t.find(QStringLiteral("A.c")).has_value());
    EXPECT_FALSE(t.find(QStringLiteral("A.d")).has_value());
    EXPECT_THROW(TextTable::parse(QStringLiteral("A.b x\n"), QStringLiteral("t")), Error);
    EXPECT_THROW(TextTable::parse(QStringLiteral("A.b\tx\n"), QStringLiteral("t")), Error);
}

TEST(TextTables, CompiledInTablesHoldTheExactTexts) {
    test::app();
    const TextTable& fr = TextTable::of(Language::French);
    const TextTable& zh = TextTable::of(Language::Chinese);
    EXPECT_EQ(fr.text(QStringLiteral("Form4.Label11")), QStringLiteral("Adoucir les traits       "));
    EXPECT_EQ(fr.text(QStringLiteral("Form4.CaptionTable.4.0")), QStringLiteral("Mélange des couleurs        "));
    EXPECT_EQ(fr.text(QStringLiteral("Form4.CaptionTable.7.1")), QStringLiteral("Contraste                   "));
    EXPECT_EQ(fr.text(QStringLiteral("Form1.Increasecontrast1")), QStringLiteral("Augmenter  le contraste"));
    EXPECT_EQ(fr.text(QStringLiteral("Form11.Label11")), QStringLiteral("Simplification (filtre médian)   "));
    EXPECT_EQ(zh.text(QStringLiteral("Form11.Label11")), QStringLiteral("簡單化 (中間濾鏡)   "));
    EXPECT_EQ(zh.text(QStringLiteral("Form4.ComboBox1.3")), QStringLiteral("鋼筆素描(&I)"));
    EXPECT_EQ(fr.text(QStringLiteral("Message.Overwrite")), QStringLiteral("Ce fichier existe déjà. Souhaitez-vous le remplacer ?"));
    EXPECT_EQ(zh.text(QStringLiteral("Message.Overwrite")), QStringLiteral("檔案名稱已經存在。您要覆蓋它嗎？"));
    // What the Chinese switch leaves unchanged is absent from its table.
    EXPECT_FALSE(zh.contains(QStringLiteral("Form4.Button1")));
    EXPECT_FALSE(zh.contains(QStringLiteral("Form6.Label2")));
    EXPECT_EQ(fr.text(QStringLiteral("Form6.Label5")), QStringLiteral("Y :     "));
    // The style lists agree with the names the parameter files use.
    for (Language language : {Language::French, Language::Chinese})
        for (int i = 0; i < kStyleCount; ++i)
            EXPECT_EQ(TextTable::of(language).text(entryKey(QStringLiteral("Form4.ComboBox1"), i)).toStdString(),
                      styleNames(language)[static_cast<std::size_t>(i)]);
}

TEST(StartupLanguage, FrenchOnlyForTheFiveFrenchLocales) {
    for (int lcid : {1036, 2060, 3084, 4108, 5132}) EXPECT_EQ(languageForLocaleId(lcid), Language::French) << lcid;
    for (int lcid : {1033, 1028, 2057, 6156}) EXPECT_EQ(languageForLocaleId(lcid), Language::Chinese) << lcid;
    EXPECT_EQ(languageForLocale(QLocale(QLocale::French, QLocale::Canada)), Language::French);
    EXPECT_EQ(languageForLocale(QLocale(QLocale::French, QLocale::Luxembourg)), Language::French);
    EXPECT_EQ(languageForLocale(QLocale(QLocale::French, QLocale::Senegal)), Language::Chinese);
    EXPECT_EQ(languageForLocale(QLocale(QLocale::English, QLocale::UnitedStates)), Language::Chinese);
}

class LanguageSwitch : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::app(); }
    void SetUp() override {
        main = createWindows(Language::French);
        main->showMessage = [this](const QString& m) { messages << m; };
    }
    std::unique_ptr<MainWindow> main;
    QStringList messages;
};

TEST_F(LanguageSwitch, MenusTooltipsAndWindowsTakeTheTexts) {
    EXPECT_EQ(main->menuEntry(QStringLiteral("File1"))->text(), QStringLiteral("Fichier"));
    EXPECT_EQ(main->menuEntry(QStringLiteral("Openpicture1"))->text(), QStringLiteral("Ouvrir une image..."));
    EXPECT_EQ(main->menuEntry(QStringLiteral("Swap1"))->text(), QStringLiteral("Utiliser le dessin comme image source"));
    EXPECT_EQ(main->toolbarButton(QStringLiteral("Image5"))->toolTip(), QStringLiteral("Ouvrir une image..."));
    EXPECT_EQ(main->toolbarButton(QStringLiteral("Image20"))->toolTip(), QStringLiteral("Un petit café ?"));
    for (const char* button : {"Image5", "Image6", "Image7", "Image8", "Image9", "Image11", "Image12", "Image18", "Image14",
                               "Image13", "Image21", "Image20"})
        EXPECT_FALSE(main->toolbarButton(QString::fromLatin1(button))->toolTip().isEmpty()) << button;
    for (const char* entry : {"File1", "Openpicture1", "Savepicture1", "Quit1", "Edit1", "About1", "About2", "Sketchit1"})
        EXPECT_FALSE(main->menuEntry(QString::fromLatin1(entry))->text().contains(QLatin1Char('&'))) << entry;

    main->English1Click();
    EXPECT_EQ(main->menuEntry(QStringLiteral("File1"))->text(), QStringLiteral("檔案"));
    EXPECT_EQ(main->menuEntry(QStringLiteral("Canceloperation1"))->text(), QStringLiteral("取消操作"));
    EXPECT_EQ(main->toolbarButton(QStringLiteral("Image12"))->toolTip(), QStringLiteral("繪畫參數..."));
    EXPECT_EQ(main->windows.Form2->windowTitle(), QStringLiteral("批次處理"));
    EXPECT_EQ(main->windows.Form4->windowTitle(), QStringLiteral("繪畫參數"));
    EXPECT_EQ(main->windows.Form6->controlText(QStringLiteral("Label6")), QStringLiteral("印表機"));
    // Left as the French switch set them.
    EXPECT_EQ(main->windows.Form6->controlText(QStringLiteral("Label2")), QStringLiteral("X :    "));
    EXPECT_EQ(main->windows.Form4->Button1->text(), QStringLiteral("Sketch"));
    EXPECT_TRUE(main->windows.Form4->Image3->isVisibleTo(main->windows.Form4));
    EXPECT_FALSE(main->windows.Form4->Image1->isVisibleTo(main->windows.Form4));
}

TEST_F(LanguageSwitch, ListEntriesKeepTheirIndexAndTheSelectedStyleItsCaptions) {
    ParameterWindow* p = main->windows.Form4;
    p->ComboBox1Change(5);
    p->ComboBox2Change(2);
    main->English1Click();
    EXPECT_EQ(p->DrawingStyle(), 5);
    EXPECT_EQ(p->ComboBox1->currentText(), QStringLiteral("油畫 2 (對稱濾鏡)"));
    EXPECT_EQ(p->ComboBox2->currentText(), QStringLiteral("強烈質材"));
    EXPECT_EQ(p->captionLabels[kSlotTrackBar2]->text(), QStringLiteral("畫筆精密度"));
    EXPECT_EQ(p->ComboBox1->itemText(8), QStringLiteral("只有畫框與質材"));
    auto* frames = static_cast<QComboBox*>(main->windows.Form5->control(QStringLiteral("ComboBox1")));
    EXPECT_EQ(frames->currentIndex(), 2);
    EXPECT_EQ(frames->currentText(), QStringLiteral("仿真畫框"));
    auto* places = static_cast<QComboBox*>(main->windows.Form9->control(QStringLiteral("ComboBox1")));
    EXPECT_EQ(places->currentIndex(), 9);
    EXPECT_EQ(places->itemText(0), QStringLiteral("自訂位置"));

    main->Franais1Click();
    EXPECT_EQ(p->DrawingStyle(), 5);
    EXPECT_EQ(p->ComboBox1->currentText(), QStringLiteral("Peinture 2 (filtre bilatéral)"));
    EXPECT_EQ(p->captionLabels[kSlotTrackBar2]->text(), QStringLiteral("Précision du pinceau       "));
    EXPECT_EQ(places->itemText(2), QStringLiteral("en haut, au mileu"));
}

TEST_F(LanguageSwitch, TheOverwriteQuestionFollowsTheLanguage) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("drawing.jpg"));
    QStringList questions;
    main->askOkCancel = [&questions](const QString& q) {
        questions << q;
        return false;
    };
    ASSERT_TRUE(main->saveDrawing(target));
    EXPECT_TRUE(questions.isEmpty());
    main->English1Click();
    EXPECT_FALSE(main->saveDrawing(target));
    main->Franais1Click();
    EXPECT_FALSE(main->saveDrawing(dir.filePath(QStringLiteral("drawing"))));  // the same file once ".jpg" is added
    ASSERT_EQ(questions.size(), 2);
    EXPECT_EQ(questions[0], QStringLiteral("檔案名稱已經存在。您要覆蓋它嗎？"));
    EXPECT_EQ(questions[1], QStringLiteral("Ce fichier existe déjà. Souhaitez-vous le remplacer ?"));
}

TEST(WindowOrder, EveryWindowIsCreatedOnceInOrder) {
    test::app();
    const QStringList order = windowCreationOrder();
    EXPECT_EQ(order.size(), 11);
    EXPECT_EQ(order.first(), QStringLiteral("Form1"));
    EXPECT_EQ(order.indexOf(QStringLiteral("Form6")), 9);
    auto main = createWindows(Language::Chinese);
    for (const QString& name : order.mid(1)) EXPECT_NE(main->findChild<QWidget*>(name), nullptr) << name.toStdString();
}

}  // namespace
}  // namespace gt
