#pragma once
// The file chooser behind the Qt dialogs. A document package (a folder whose name ends in
// ".vlbdoc") is one file here: it is listed, picked, opened by a double click or Enter and
// saved over like a file, and nothing inside it is ever listed. Plain folders are browsed.
#include <QFileDialog>

class PackageFileDialog : public QFileDialog {
    Q_OBJECT
public:
    enum class Kind { Open, Save };

    // filter like "Documents (*.vlbdoc)"; suggestedPath (saving): its name is put in the name
    // field, and its folder shown (the home folder for a name alone).
    PackageFileDialog(QWidget* parent, Kind kind, const QString& title, const QString& filter,
                      const QString& suggestedPath = QString());

    // The chosen path once the dialog was accepted; empty otherwise.
    QString chosenPath() const { return m_chosen; }

    static bool isPackage(const QString& path);
    // The outermost package that is path or holds it; empty when there is none.
    static QString packageOf(const QString& path);

    void accept() override;
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A package picked in the list, typed or entered some other way: it is the choice.
    void choosePackage(const QString& package);
    void leavePackage(const QString& directory);
    QString packageAt(QObject* watched, const QPoint& viewportPos) const;
    // The name field's text as a clean absolute path (a relative one taken from the folder
    // shown, "~" the home folder); empty for none or several names.
    QString typedPath() const;

    Kind m_kind;
    QString m_chosen;
};
