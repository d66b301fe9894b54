#include "platform/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Acts on the next modal dialog of type T once it is shown; gives up after about five
// seconds so that a dialog that never appears fails the test instead of hanging it.
template <typename T>
void whenShown(std::function<void(T*)> act, int triesLeft = 500)
{
    QTimer::singleShot(10, [=] {
        T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible())
            act(dialog);
        else if (triesLeft > 0)
            whenShown<T>(act, triesLeft - 1);
        else if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });
}

TEST(QtDialogs, EscapeOnAQuestionChoosesCancel)
{
    QString shownText;
    whenShown<QMessageBox>([&](QMessageBox* box) {
        shownText = box->text();
        EXPECT_EQ(box->defaultButton()->text(), "Save");
        QTest::keyClick(box, Qt::Key_Escape);
    });
    QtDialogs dialogs;
    EXPECT_EQ(dialogs.question("Do you want to save?", "", {"Save", "Don't Save", "Cancel"}), 2);
    EXPECT_EQ(shownText, "Do you want to save?");
}

TEST(QtDialogs, PackageChooserPicksADirectory)
{
    QTemporaryDir dir;
    const QString package = dir.filePath("Sample.vlbdoc");
    ASSERT_TRUE(QDir().mkpath(package));
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
        dialog->setDirectory(package);   // the user has gone into the package and chooses it
        static_cast<QDialog*>(dialog)->accept();
    });
    const QString chosen = QtDialogs().openDirectory("Open", "Documents (*.vlbdoc)");
    EXPECT_EQ(QFileInfo(chosen).canonicalFilePath().toStdString(), QFileInfo(package).canonicalFilePath().toStdString());
}

}  // namespace
