#include "platform/Dialogs.h"
#include "platform/PrintInfo.h"

#include "common/WhenShown.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

TEST(QtDialogs, EscapeOnAQuestionChoosesCancel)
{
    QString shownText;
    whenShown<QMessageBox>([&](QMessageBox* box) {
        shownText = box->text();
        EXPECT_EQ(box->defaultButton()->text(), "Save");
        QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(QtDialogs().question("Do you want to save?", "", {"Save", "Don't Save", "Cancel"}), 2);
    EXPECT_EQ(shownText, "Do you want to save?");
}

// A folder with a package (and something inside it), a plain folder with another package,
// and a text file.
class Chooser : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* folder : {"Sample.vlbdoc/graph", "Folder/Inner.vlbdoc/graph"})
            ASSERT_TRUE(QDir().mkpath(dir.filePath(QLatin1String(folder))));
        for (const char* file : {"Sample.vlbdoc/table.plist", "notes.txt"})
            ASSERT_TRUE(QFile(dir.filePath(QLatin1String(file))).open(QIODevice::WriteOnly));
    }
    QString path(const char* name) const { return QFileInfo(dir.filePath(QLatin1String(name))).canonicalFilePath(); }
    static QString canonical(const QString& p) { return p.isEmpty() ? QString() : QFileInfo(p).canonicalFilePath(); }

    static QListView* list(QFileDialog* dialog) { return dialog->findChild<QListView*>("listView"); }
    // The row of name in the dialog's list, once the folder has been read.
    static QModelIndex row(QFileDialog* dialog, const QString& name)
    {
        QListView* view = list(dialog);
        QModelIndex found;
        (void)QTest::qWaitFor([&] {
            for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r)
                if (const QModelIndex i = view->model()->index(r, 0, view->rootIndex()); i.data().toString() == name)
                    found = i;
            return found.isValid();
        }, 5000);
        return found;
    }
    static void click(QFileDialog* dialog, const QString& name, bool twice)
    {
        const QModelIndex i = row(dialog, name);
        ASSERT_TRUE(i.isValid()) << qPrintable(name);
        // A real double click: the first click selects, the second opens.
        QTest::mouseClick(list(dialog)->viewport(), Qt::LeftButton, {}, list(dialog)->visualRect(i).center());
        if (twice)
            QTest::mouseDClick(list(dialog)->viewport(), Qt::LeftButton, {}, list(dialog)->visualRect(i).center());
    }
    // As the user types: the name field has the focus.
    static void typeName(QFileDialog* dialog, const QString& text)
    {
        auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
        edit->setFocus();
        edit->setText(text);
        // A refusal ("File not found") is closed, so that the dialog stays open and the case
        // fails instead of hanging.
        QTimer::singleShot(500, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); box && box->text().contains("not found"))
                box->reject();
        });
        QTest::keyClick(edit, Qt::Key_Return);
    }

    QTemporaryDir dir;
};

// Packages open like files by a double click, Enter, their typed name or their typed path
// (absolute, or from the folder shown, wherever it leads); plain folders are entered, never
// chosen; nothing inside a package is listed.
TEST_F(Chooser, PackagesOpenLikeFiles)
{
    const struct {
        const char* name;
        std::function<void(QFileDialog*)> act;   // a dialog left open is cancelled
        const char* chosen;                      // relative to the folder; "" cancelled
        const char* shownAtEnd;                  // the folder the dialog showed last
    } cases[] = {
        {"DoubleClickOnThePackage", [](QFileDialog* d) { click(d, "Sample.vlbdoc", true); }, "Sample.vlbdoc", ""},
        {"EnterOnThePackage", [](QFileDialog* d) {
             list(d)->setCurrentIndex(row(d, "Sample.vlbdoc"));
             QTest::keyClick(list(d), Qt::Key_Return);
         }, "Sample.vlbdoc", ""},
        {"PickedShowsItsNameAndOpens", [](QFileDialog* d) {
             click(d, "Sample.vlbdoc", false);
             EXPECT_EQ(d->findChild<QLineEdit*>("fileNameEdit")->text(), "Sample.vlbdoc");
             d->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Open)->click();
         }, "Sample.vlbdoc", ""},
        {"TypedPackageName", [](QFileDialog* d) { typeName(d, "Sample.vlbdoc"); }, "Sample.vlbdoc", ""},
        {"TypedPathInsideThePackage", [](QFileDialog* d) { typeName(d, "Sample.vlbdoc/table.plist"); }, "Sample.vlbdoc", ""},
        {"TypedFullPath", [this](QFileDialog* d) { typeName(d, path("Folder/Inner.vlbdoc")); }, "Folder/Inner.vlbdoc", ""},
        {"TypedFullPathOfAPackageShownHere", [this](QFileDialog* d) { typeName(d, path("Sample.vlbdoc")); }, "Sample.vlbdoc", ""},
        {"TypedRelativePath", [](QFileDialog* d) { typeName(d, "Folder/Inner.vlbdoc"); }, "Folder/Inner.vlbdoc", ""},
        {"TypedPathUpAndDown", [this](QFileDialog* d) {
             d->setDirectory(path("Folder"));
             (void)row(d, "Inner.vlbdoc");
             typeName(d, "../Sample.vlbdoc");
         }, "Sample.vlbdoc", ""},
        {"TypedFolderIsEntered", [](QFileDialog* d) { typeName(d, "Folder"); }, "", "Folder"},
        {"DoubleClickedFolderIsEntered", [](QFileDialog* d) { click(d, "Folder", true); }, "", "Folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString shown;
        int packageRows = -1;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            dialog->setDirectory(dir.path());
            const QModelIndex package = row(dialog, "Sample.vlbdoc");
            packageRows = list(dialog)->model()->hasChildren(package) ? 1 : list(dialog)->model()->rowCount(package);
            c.act(dialog);
            shown = dialog->directory().canonicalPath();
            if (dialog->isVisible())
                dialog->reject();
        });
        const QString chosen = QtDialogs().openDirectory("Open", "Documents (*.vlbdoc)");
        EXPECT_EQ(canonical(chosen), *c.chosen ? path(c.chosen) : "");
        if (*c.shownAtEnd) {
            EXPECT_EQ(shown, path(c.shownAtEnd));
        }
        EXPECT_EQ(packageRows, 0);
    }
}

// Saving names a package; an existing one is replaced only when the user says so.
TEST_F(Chooser, SavingOverAPackageAsks)
{
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        dialog->setDirectory(dir.path());
        typeName(dialog, "Sales");
    });
    EXPECT_EQ(QtDialogs().saveFile("Save", "Untitled.vlbdoc", "Documents (*.vlbdoc)"),
              QDir(dir.path()).filePath("Sales.vlbdoc"));

    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        QString question;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            dialog->setDirectory(dir.path());
            whenShown<QMessageBox>([&](QMessageBox* box) {
                question = box->text();
                box->button(answer)->click();
            });
            click(dialog, "Sample.vlbdoc", true);
            if (dialog->isVisible())
                dialog->reject();
        });
        const QString chosen = QtDialogs().saveFile("Save", "Untitled.vlbdoc", "Documents (*.vlbdoc)");
        EXPECT_EQ(question, "Sample.vlbdoc already exists.\nDo you want to replace it?");
        EXPECT_EQ(canonical(chosen), answer == QMessageBox::Yes ? path("Sample.vlbdoc") : QString());
    }
}

// The font chooser confirmed as it opened gives back the font it was given, face included,
// also a font this machine does not have; a change gives the font chosen.
TEST(QtDialogs, FontChooserConfirmedUnchangedGivesTheFontBack)
{
    auto choose = [](const FontSpec& font, std::function<void(QFontDialog*)> act) {
        whenShown<QFontDialog>(act);
        return QtDialogs().chooseFont(font);
    };
    for (const FontSpec& font : {FontSpec{"DejaVu Sans", 13, 16}, FontSpec{"DejaVu Sans-Bold", 12, 16},
                                 FontSpec{"DejaVu Sans-Oblique", 11, 16}, FontSpec{"DejaVu Sans-BoldOblique", 14, 16},
                                 FontSpec{"Helvetica-Bold", 12.5, 16}}) {
        SCOPED_TRACE(font.name.toStdString());
        const std::optional<FontSpec> chosen = choose(font, [](QFontDialog* d) { d->accept(); });
        ASSERT_TRUE(chosen);
        EXPECT_EQ(chosen->name, font.name);
        EXPECT_EQ(chosen->size, font.size);
    }
    const std::optional<FontSpec> changed = choose({"DejaVu Sans", 13, 16}, [](QFontDialog* d) {
        QFont bigger("DejaVu Sans");
        bigger.setPointSize(20);
        bigger.setBold(true);
        d->setCurrentFont(bigger);
        d->accept();
    });
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->name, "DejaVu Sans-Bold");
    EXPECT_EQ(changed->size, 20);
    EXPECT_FALSE(choose({"DejaVu Sans", 13, 16}, [](QFontDialog* d) { d->reject(); }));
}

// The page setup panel confirmed as it opened gives back the layout it was given, whatever
// the printer makes of its border; a change gives the layout chosen; cancelled, nothing.
TEST(QtDialogs, PageSetupConfirmedUnchangedGivesTheLayoutBack)
{
    const QPageLayout given(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18),
                            QPageLayout::Point, QMarginsF(18, 18, 18, 18));
    auto run = [&](std::function<void(QPageSetupDialog*)> act) {
        whenShown<QPageSetupDialog>(act);
        return QtDialogs().runPageLayout(given);
    };
    const std::optional<QPageLayout> same = run([](QPageSetupDialog* d) { d->accept(); });
    ASSERT_TRUE(same);
    EXPECT_EQ(*same, given);

    const std::optional<QPageLayout> turned = run([](QPageSetupDialog* d) {
        d->findChild<QRadioButton*>("landscape")->click();
        d->accept();
    });
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->orientation(), QPageLayout::Landscape);
    EXPECT_TRUE(turned->pageSize().isEquivalentTo(given.pageSize()));
    // The paper's border comes back with it, in points.
    EXPECT_EQ(PrintInfo::imageablePageBounds(*turned), Rect(18, 18, 842 - 36, 595 - 36));
    EXPECT_FALSE(run([](QPageSetupDialog* d) { d->reject(); }));
}

// The print panel confirmed prints where it showed (here a PDF file); cancelled, nothing.
TEST(QtDialogs, PrintPanelConfirmedKeepsItsDestination)
{
    QTemporaryDir dir;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("graph.pdf"));
    whenShown<QPrintDialog>([](QPrintDialog* d) { d->accept(); });
    EXPECT_TRUE(QtDialogs().runPrintPanel(printer));
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName(), dir.filePath("graph.pdf"));
    whenShown<QPrintDialog>([](QPrintDialog* d) { d->reject(); });
    EXPECT_FALSE(QtDialogs().runPrintPanel(printer));
}

}  // namespace
