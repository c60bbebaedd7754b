// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolButton>
#include <algorithm>
#include <tuple>

#include "app_test_support.h"
#include "batch/batch_window.h"
#include "dialogs/print_preview_window.h"
#include "finishing/add_text_window.h"
#include "finishing/frames_window.h"
#include "imaging/error.h"
#include "mainwindow/qt_translations.h"
#include "mainwindow/start_options.h"
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
    EXPECT_EQ(zh.text(QStringLiteral("Form6.Label2")), QStringLiteral("X:"));
    EXPECT_EQ(fr.text(QStringLiteral("Form6.Label5")), QStringLiteral("Y :     "));
    // The style lists agree with the names the parameter files use.
    for (Language language : {Language::French, Language::Chinese})
        for (int i = 0; i < kStyleCount; ++i)
            EXPECT_EQ(TextTable::of(language).text(entryKey(QStringLiteral("Form4.ComboBox1"), i)).toStdString(),
                      styleNames(language)[static_cast<std::size_t>(i)]);
}

// The English table is checked against the French one, so a text added to the French table without
// its English one fails here.
TEST(TextTables, EnglishHasExactlyTheFrenchKeysAndNoEmptyText) {
    test::app();
    const TextTable& fr = TextTable::of(Language::French);
    const TextTable& zh = TextTable::of(Language::Chinese);
    const TextTable& en = TextTable::of(Language::English);
    QStringList frKeys = fr.keys(), enKeys = en.keys();
    // The donation window's French set is shown only in French.
    frKeys.removeIf([](const QString& key) { return key.startsWith(QStringLiteral("Form8.Memo2")) || key.startsWith(QStringLiteral("Form8.ListBox1.")); });
    frKeys.sort();
    enKeys.sort();
    EXPECT_EQ(enKeys, frKeys);
    const QRegularExpression placeholder(QStringLiteral("%[0-9]"));
    for (const QString& key : frKeys) {
        const QString text = en.text(key);
        EXPECT_FALSE(text.trimmed().isEmpty()) << key.toStdString();
        // A message keeps the places where the program puts a file name or a reason.
        EXPECT_EQ(text.count(placeholder), fr.text(key).count(placeholder)) << key.toStdString();
        // A dialog filter keeps its patterns.
        if (key.contains(QStringLiteral("Filter")) || key.endsWith(QStringLiteral(".filter"))) {
            EXPECT_EQ(text.section(QLatin1Char('|'), 1), fr.text(key).section(QLatin1Char('|'), 1)) << key.toStdString();
        }
        // Where the Chinese switch leaves a control alone, English writes what French writes, so the
        // Chinese interface looks the same whichever language came before it.
        if (!zh.contains(key) && !key.endsWith(QStringLiteral(".one")) && !key.endsWith(QStringLiteral(".other"))) {
            EXPECT_EQ(text, fr.text(key)) << key.toStdString();
        }
        // English as an English reader expects it: no blanks at the ends, none before a colon, no
        // "(s)", and "…" rather than three dots (but on the button that shows only them). The
        // licence notice of the About window has its own author.
        if (key.startsWith(QStringLiteral("Form3.Memo")) || key.startsWith(QStringLiteral("Form3.Label3"))) continue;
        EXPECT_EQ(text, text.trimmed()) << key.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral(" :")) || text.contains(QStringLiteral("(s)"))) << key.toStdString();
        EXPECT_TRUE(text == QStringLiteral("...") || !text.contains(QStringLiteral("..."))) << key.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("image"), Qt::CaseInsensitive) && !key.contains(QStringLiteral("Filter"))) << key.toStdString();
    }
    for (int i = 0; i < kStyleCount; ++i) {
        const std::string& name = styleNames(Language::English)[static_cast<std::size_t>(i)];
        EXPECT_EQ(en.text(entryKey(QStringLiteral("Form4.ComboBox1"), i)).toStdString(), name);
        EXPECT_TRUE(std::all_of(name.begin(), name.end(), [](char c) { return c > 0 && c < 127; })) << name;
    }
}

TEST(StartupLanguage, TheLangOptionChoosesAndTheFirstOtherArgumentIsTheFile) {
    auto parse = [](std::initializer_list<const char*> args) {
        QStringList list;
        for (const char* a : args) list << QString::fromUtf8(a);
        return parseStartOptions(list);
    };
    StartOptions o = parse({});
    EXPECT_FALSE(o.language.has_value());
    EXPECT_TRUE(o.file.isEmpty());
    o = parse({"--lang", "en", "photo.jpg"});
    EXPECT_EQ(o.language, Language::English);
    EXPECT_EQ(o.file, QStringLiteral("photo.jpg"));
    o = parse({"photo.jpg", "--lang=ZH", "other.jpg"});
    EXPECT_EQ(o.language, Language::Chinese);
    EXPECT_EQ(o.file, QStringLiteral("photo.jpg"));
    o = parse({"--lang", "fr", "--", "--lang"});
    EXPECT_EQ(o.language, Language::French);
    EXPECT_EQ(o.file, QStringLiteral("--lang"));
    EXPECT_TRUE(o.error.isEmpty());
    EXPECT_FALSE(parse({"--lang", "de"}).error.isEmpty());
    EXPECT_FALSE(parse({"--lang"}).error.isEmpty());
    EXPECT_FALSE(parse({"--lang="}).error.isEmpty());
    // Help and version wherever they stand; Qt's own options (and their values) are left to Qt; any
    // other dash is a wrong option unless a file has that name.
    o = parse({"-platform", "offscreen", "photo.jpg", "-h"});
    EXPECT_TRUE(o.help);
    EXPECT_EQ(o.file, QStringLiteral("photo.jpg"));
    EXPECT_TRUE(parse({"--version"}).version);
    EXPECT_TRUE(parse({"-style=fusion", "-reverse"}).error.isEmpty());
    EXPECT_EQ(parse({"photo.jpg", "--frobnicate"}).error,
              QStringLiteral("unknown option --frobnicate (graphitello --help lists them)"));
    EXPECT_FALSE(parse({"-x"}).error.isEmpty());
    QTemporaryDir dir;
    const QString here = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EXPECT_TRUE(QFile(QStringLiteral("-dashed.jpg")).open(QIODevice::WriteOnly));
    EXPECT_EQ(parse({"-dashed.jpg"}).file, QStringLiteral("-dashed.jpg"));
    QDir::setCurrent(here);
}

// The desktop program run as a process, without any display: help, version and wrong options answer
// without a window.
TEST(StartupLanguage, HelpVersionAndWrongOptionsAnswerWithoutAWindow) {
    auto run = [](const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(QString::fromLatin1(name));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(GT_APP_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return std::make_tuple(process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                               QString::fromUtf8(process.readAllStandardError()));
    };
    for (const QString& help : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const auto [status, out, err] = run({help});
        EXPECT_EQ(status, 0) << err.toStdString();
        EXPECT_TRUE(out.startsWith(QStringLiteral("Usage: graphitello "))) << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("--lang")));
    }
    const auto [status, out, err] = run({QStringLiteral("--version")});
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(out.startsWith(QStringLiteral("Graphitello "))) << out.toStdString();
    for (const QString& wrong : {QStringLiteral("--frobnicate"), QStringLiteral("-q")}) {
        const auto [code, printed, said] = run({wrong});
        EXPECT_EQ(code, 2);
        EXPECT_TRUE(printed.isEmpty());
        EXPECT_EQ(said.count(QLatin1Char('\n')), 1) << said.toStdString();
        EXPECT_TRUE(said.startsWith(QStringLiteral("graphitello: unknown option ") + wrong)) << said.toStdString();
    }
}

TEST(QtTranslations, QtsOwnButtonsFollowTheLanguage) {
    test::app();
    ASSERT_TRUE(useQtTranslations(Language::French)) << "qt6-translations-l10n is not installed";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annuler"));
    ASSERT_TRUE(useQtTranslations(Language::Chinese));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    useQtTranslations(Language::English);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

TEST(StartupLanguage, EnglishForEnglishLocalesFrenchForTheFiveFrenchOnesChineseForTheOthers) {
    EXPECT_EQ(languageForLocaleName(QStringLiteral("en_US.UTF-8")), Language::English);
    EXPECT_EQ(languageForLocaleName(QStringLiteral("fr_CA.UTF-8")), Language::French);
    EXPECT_EQ(languageForLocaleName(QStringLiteral("de_DE.UTF-8")), Language::Chinese);
    EXPECT_EQ(languageForLocaleName(QStringLiteral("zh_TW.UTF-8")), Language::Chinese);
    for (const char* name : {"en_GB.UTF-8", "en_IN", "C", "C.UTF-8", "POSIX", ""})
        EXPECT_EQ(languageForLocaleName(QString::fromLatin1(name)), Language::English) << name;
    for (const char* name : {"fr_FR.UTF-8", "fr_BE@euro", "fr_CH", "fr_LU.UTF-8"})
        EXPECT_EQ(languageForLocaleName(QString::fromLatin1(name)), Language::French) << name;
    for (const char* name : {"fr_SN.UTF-8", "zh_CN.UTF-8", "ja_JP.UTF-8", "xx_YY"})
        EXPECT_EQ(languageForLocaleName(QString::fromLatin1(name)), Language::Chinese) << name;
    // Windows' numbers: the five French ones, English in every country, the rest Chinese.
    for (int lcid : {1036, 2060, 3084, 4108, 5132}) EXPECT_EQ(languageForLocaleId(lcid), Language::French) << lcid;
    for (int lcid : {1033, 2057, 3081, 4105}) EXPECT_EQ(languageForLocaleId(lcid), Language::English) << lcid;
    for (int lcid : {1028, 1031, 6156}) EXPECT_EQ(languageForLocaleId(lcid), Language::Chinese) << lcid;

    // The process's own locale: LC_ALL before LC_MESSAGES before LANG, none at all being C.
    const QByteArray saved[3] = {qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"), qgetenv("LANG")};
    const bool had[3] = {qEnvironmentVariableIsSet("LC_ALL"), qEnvironmentVariableIsSet("LC_MESSAGES"),
                         qEnvironmentVariableIsSet("LANG")};
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    qunsetenv("LANG");
    EXPECT_EQ(startupLanguage(), Language::English);
    qputenv("LANG", "de_DE.UTF-8");
    EXPECT_EQ(startupLanguage(), Language::Chinese);
    qputenv("LC_MESSAGES", "fr_CA.UTF-8");
    EXPECT_EQ(startupLanguage(), Language::French);
    qputenv("LC_ALL", "en_US.UTF-8");
    EXPECT_EQ(startupLanguage(), Language::English);
    const char* names[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    for (int i = 0; i < 3; ++i) {
        if (had[i])
            qputenv(names[i], saved[i]);
        else
            qunsetenv(names[i]);
    }
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

    main->switchToChinese();
    EXPECT_EQ(main->menuEntry(QStringLiteral("File1"))->text(), QStringLiteral("檔案"));
    EXPECT_EQ(main->menuEntry(QStringLiteral("Canceloperation1"))->text(), QStringLiteral("取消操作"));
    EXPECT_EQ(main->toolbarButton(QStringLiteral("Image12"))->toolTip(), QStringLiteral("繪畫參數..."));
    EXPECT_EQ(main->windows.batchWindow->windowTitle(), QStringLiteral("批次處理"));
    EXPECT_EQ(main->windows.parameterWindow->windowTitle(), QStringLiteral("繪畫參數"));
    EXPECT_EQ(main->windows.printPreviewWindow->controlText(QStringLiteral("Label6")), QStringLiteral("印表機"));
    // Left as the French switch set them, but for the coordinates' colons.
    EXPECT_EQ(main->windows.printPreviewWindow->controlText(QStringLiteral("Label2")), QStringLiteral("X:"));
    EXPECT_EQ(main->windows.parameterWindow->Button1->text(), QStringLiteral("Sketch"));
    EXPECT_TRUE(main->windows.parameterWindow->Image3->isVisibleTo(main->windows.parameterWindow));
    EXPECT_FALSE(main->windows.parameterWindow->Image1->isVisibleTo(main->windows.parameterWindow));
}

TEST_F(LanguageSwitch, ListEntriesKeepTheirIndexAndTheSelectedStyleItsCaptions) {
    ParameterWindow* p = main->windows.parameterWindow;
    p->chooseStyle(5);
    p->chooseTextureStrength(2);
    main->switchToChinese();
    EXPECT_EQ(p->DrawingStyle(), 5);
    EXPECT_EQ(p->ComboBox1->currentText(), QStringLiteral("油畫 2 (對稱濾鏡)"));
    EXPECT_EQ(p->ComboBox2->currentText(), QStringLiteral("強烈質材"));
    EXPECT_EQ(p->captionLabels[kSlotTrackBar2]->text(), QStringLiteral("畫筆精密度"));
    EXPECT_EQ(p->ComboBox1->itemText(8), QStringLiteral("只有畫框與質材"));
    QComboBox* frames = main->windows.framesWindow->ComboBox1;
    EXPECT_EQ(frames->currentIndex(), 2);
    EXPECT_EQ(frames->currentText(), QStringLiteral("仿真畫框"));
    QComboBox* places = main->windows.addTextWindow->ComboBox1;
    EXPECT_EQ(places->currentIndex(), 9);
    EXPECT_EQ(places->itemText(0), QStringLiteral("自訂位置"));
    // A built-in preset's button is named in the language; its tooltip keeps the command line's name.
    const auto& presets = p->presets();
    const auto oil = std::find_if(presets.begin(), presets.end(), [](const PresetEntry& e) { return e.name == "Oil"; });
    ASSERT_NE(oil, presets.end());
    QToolButton* oilButton = p->presetButtons[std::size_t(oil - presets.begin())];
    EXPECT_EQ(oilButton->text(), QStringLiteral("油畫"));
    EXPECT_TRUE(oilButton->toolTip().contains(QStringLiteral("--preset Oil")));

    main->switchToFrench();
    EXPECT_EQ(oilButton->text(), QStringLiteral("Huile"));
    EXPECT_EQ(p->DrawingStyle(), 5);
    EXPECT_EQ(p->ComboBox1->currentText(), QStringLiteral("Peinture 2 (filtre bilatéral)"));
    EXPECT_EQ(p->captionLabels[kSlotTrackBar2]->text(), QStringLiteral("Précision du pinceau       "));
    EXPECT_EQ(places->itemText(2), QStringLiteral("en haut, au milieu"));
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
    main->switchToChinese();
    EXPECT_FALSE(main->saveDrawing(target));
    main->switchToFrench();
    EXPECT_FALSE(main->saveDrawing(dir.filePath(QStringLiteral("drawing"))));  // the same file once ".jpg" is added
    ASSERT_EQ(questions.size(), 2);
    EXPECT_EQ(questions[0], QStringLiteral("檔案名稱已經存在。您要覆蓋它嗎？"));
    EXPECT_EQ(questions[1], QStringLiteral("Ce fichier existe déjà. Souhaitez-vous le remplacer ?"));
}

// Every text the windows show: titles, captions, hints, list entries, menu entries, the slider
// captions of every style.
QStringList shownTexts(MainWindow& main) {
    QStringList texts;
    QList<QWidget*> widgets = main.findChildren<QWidget*>();
    widgets.prepend(&main);
    for (QWidget* w : widgets) {
        const QString name = w->objectName() + QLatin1Char('/') + QString::fromLatin1(w->metaObject()->className());
        if (w->isWindow()) texts << name + QStringLiteral(" title ") + w->windowTitle();
        texts << name + QStringLiteral(" hint ") + w->toolTip();
        if (auto* label = qobject_cast<QLabel*>(w)) texts << name + QStringLiteral(" text ") + label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) texts << name + QStringLiteral(" text ") + button->text();
        if (auto* group = qobject_cast<QGroupBox*>(w)) texts << name + QStringLiteral(" title ") + group->title();
        if (auto* list = qobject_cast<QComboBox*>(w)) {
            texts << name + QStringLiteral(" prompt ") + list->placeholderText() + QStringLiteral(" chosen ") +
                         QString::number(list->currentIndex());
            for (int i = 0; i < list->count(); ++i) texts << name + QStringLiteral(" entry ") + list->itemText(i);
        }
    }
    for (QAction* a : main.findChildren<QAction*>()) texts << a->objectName() + QStringLiteral(" action ") + a->text();
    for (const auto& row : main.windows.parameterWindow->CaptionTable)
        for (const QString& caption : row) texts << QStringLiteral("CaptionTable ") + caption;
    return texts;
}

TEST_F(LanguageSwitch, FrenchEnglishChineseFrenchRestoresEveryText) {
    main->windows.parameterWindow->chooseStyle(4);
    const QStringList french = shownTexts(*main);
    main->switchToEnglish();
    const QStringList english = shownTexts(*main);
    EXPECT_NE(english, french);
    main->switchToChinese();
    const QStringList chineseAfterEnglish = shownTexts(*main);
    main->switchToFrench();
    EXPECT_EQ(shownTexts(*main), french);
    // Chinese looks the same whether it came after French or after English.
    main->switchToChinese();
    EXPECT_EQ(shownTexts(*main), chineseAfterEnglish);
    main->switchToEnglish();
    EXPECT_EQ(shownTexts(*main), english);
}

TEST_F(LanguageSwitch, EnglishReachesEveryWindowAndTheMessages) {
    ParameterWindow* p = main->windows.parameterWindow;
    p->chooseStyle(5);
    main->switchToEnglish();
    EXPECT_EQ(main->language(), Language::English);
    EXPECT_EQ(main->menuEntry(QStringLiteral("File1"))->text(), QStringLiteral("File"));
    EXPECT_EQ(main->toolbarButton(QStringLiteral("Image12"))->toolTip(), QStringLiteral("Drawing parameters…"));
    EXPECT_EQ(main->windows.batchWindow->windowTitle(), QStringLiteral("Batch conversion"));
    EXPECT_EQ(p->windowTitle(), QStringLiteral("Drawing parameters"));
    EXPECT_EQ(p->DrawingStyle(), 5);
    EXPECT_EQ(p->ComboBox1->currentText(), QStringLiteral("Painting 2 (bilateral filter)"));
    EXPECT_EQ(p->captionLabels[kSlotTrackBar2]->text(), QStringLiteral("Brush precision"));
    EXPECT_EQ(p->savePresetButton->text(), QStringLiteral("Save…"));
    EXPECT_EQ(p->resetButton->text(), QStringLiteral("Reset this style"));
    EXPECT_TRUE(p->Image1->isVisibleTo(p));
    EXPECT_FALSE(p->Image3->isVisibleTo(p));
    EXPECT_EQ(main->windows.printPreviewWindow->controlText(QStringLiteral("Label6")), QStringLiteral("Printer"));
    QComboBox* places = main->windows.addTextWindow->ComboBox1;
    EXPECT_EQ(places->currentIndex(), 9);
    EXPECT_EQ(places->currentText(), QStringLiteral("Bottom right"));
    // The language entries keep their own names whatever the interface speaks.
    for (Language language : {Language::French, Language::Chinese, Language::English}) {
        main->applyLanguage(language);
        EXPECT_EQ(main->menuEntry(QStringLiteral("English2"))->text(), QStringLiteral("English"));
        EXPECT_EQ(main->menuEntry(QStringLiteral("English1"))->text(), QStringLiteral("繁中"));
        EXPECT_EQ(main->menuEntry(QStringLiteral("Franais1"))->text(), QStringLiteral("&Français"));
    }

    main->switchToEnglish();
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("drawing.jpg"));
    QStringList questions;
    main->askOkCancel = [&questions](const QString& q) {
        questions << q;
        return false;
    };
    ASSERT_TRUE(main->saveDrawing(target));
    EXPECT_FALSE(main->saveDrawing(target));
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0], QStringLiteral("This file already exists. Do you want to replace it?"));
    main->openStartArgument(dir.filePath(QStringLiteral("missing.gtl")));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("File not found"));
}

TEST(WindowOrder, EveryWindowIsCreatedOnceInOrder) {
    test::app();
    QStringList order = windowCreationOrder();
    EXPECT_EQ(order.first(), QStringLiteral("Form1"));  // the main window, which makes the others
    auto main = createWindows(Language::Chinese);
    EXPECT_EQ(main->objectName(), order.first());
    for (const QString& name : order.mid(1)) EXPECT_EQ(main->findChildren<QWidget*>(name).size(), 1) << name.toStdString();
    EXPECT_EQ(order.removeDuplicates(), 0);
}

}  // namespace
}  // namespace gt
