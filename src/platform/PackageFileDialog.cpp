#include "platform/PackageFileDialog.h"
#include "platform/Dialogs.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSortFilterProxyModel>

namespace {

const QLatin1String kPackageSuffix(".vlbdoc");

bool hasPackageSuffix(const QString& path)
{
    QString p = path;
    while (p.endsWith(u'/') && p.size() > 1)
        p.chop(1);
    return p.endsWith(kPackageSuffix, Qt::CaseInsensitive) && p.size() > kPackageSuffix.size();
}

// The dialog's listing with packages shown as files: no children, a file's icon, and no row
// from inside a package, however the dialog got there.
class PackageProxy : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    bool hasChildren(const QModelIndex& parent) const override
    {
        return !isPackageRow(parent) && QSortFilterProxyModel::hasChildren(parent);
    }
    bool canFetchMore(const QModelIndex& parent) const override
    {
        return !isPackageRow(parent) && QSortFilterProxyModel::canFetchMore(parent);
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DecorationRole && index.column() == 0 && isPackageRow(index))
            return m_icons.icon(QFileIconProvider::File);
        if (role == Qt::DisplayRole && index.column() == 2 && isPackageRow(index.siblingAtColumn(0)))
            return QStringLiteral("Document");
        return QSortFilterProxyModel::data(index, role);
    }

protected:
    bool filterAcceptsRow(int, const QModelIndex& sourceParent) const override
    {
        return PackageFileDialog::packageOf(sourceParent.data(QFileSystemModel::FilePathRole).toString()).isEmpty();
    }

private:
    bool isPackageRow(const QModelIndex& index) const
    {
        // The name first: it spares a look at the disk for every other row.
        return index.isValid() && hasPackageSuffix(index.data(QFileSystemModel::FilePathRole).toString())
               && PackageFileDialog::isPackage(index.data(QFileSystemModel::FilePathRole).toString());
    }

    QFileIconProvider m_icons;
};

// "pdf" of "PDF (*.pdf)"; empty when the filter names no single extension.
QString suffixOf(const QString& filter)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\\*\\.([A-Za-z0-9]+)")).match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

} // namespace

PackageFileDialog::PackageFileDialog(QWidget* parent, Kind kind, const QString& title, const QString& filter,
                                     const QString& suggestedPath)
    : QFileDialog(parent, title), m_kind(kind)
{
    // The platform's own dialog would enter packages like any folder.
    setOption(QFileDialog::DontUseNativeDialog, true);
    setProxyModel(new PackageProxy(this));
    if (!filter.isEmpty())
        setNameFilter(filter);
    if (kind == Kind::Save) {
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        setDefaultSuffix(suffixOf(filter));
    } else {
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::ExistingFile);
    }
    // A save proposes its name in its folder, or in the home folder: never in the folder
    // the program happened to be started in.
    if (kind == Kind::Save)
        setDirectory(Dialogs::suggestedPlace(suggestedPath).first);
    // The folder last visited may lie inside a package.
    if (const QString package = packageOf(directory().absolutePath()); !package.isEmpty())
        setDirectory(QFileInfo(package).absolutePath());
    if (const QString name = Dialogs::suggestedPlace(suggestedPath).second; !name.isEmpty())
        selectFile(name);
    for (const char* name : {"listView", "treeView"})
        if (auto* view = findChild<QAbstractItemView*>(QLatin1String(name))) {
            view->installEventFilter(this);
            view->viewport()->installEventFilter(this);
            // A picked package shows its name, as a picked file does (folders do not).
            // Only for a package of the folder shown: the dialog also selects what a typed path
            // names in another folder, and its bare name would then stand for a file here.
            connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, view] {
                const QModelIndexList rows = view->selectionModel()->selectedRows();
                const QString path = rows.size() == 1 ? rows.first().data(QFileSystemModel::FilePathRole).toString() : QString();
                auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                if (name && isPackage(path)
                    && QFileInfo(path).absolutePath() == QDir::cleanPath(directory().absolutePath()))
                    name->setText(QFileInfo(path).fileName());
            });
        }
    connect(this, &QFileDialog::directoryEntered, this, &PackageFileDialog::leavePackage);
}

bool PackageFileDialog::isPackage(const QString& path)
{
    return hasPackageSuffix(path) && QFileInfo(path).isDir();
}

QString PackageFileDialog::packageOf(const QString& path)
{
    if (path.isEmpty() || !path.contains(QString(kPackageSuffix), Qt::CaseInsensitive))
        return QString();
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    for (qsizetype at = clean.indexOf(u'/', 1); ; at = clean.indexOf(u'/', at + 1)) {
        const QString prefix = at < 0 ? clean : clean.left(at);
        if (isPackage(prefix))
            return prefix;
        if (at < 0)
            return QString();
    }
}

QString PackageFileDialog::typedPath() const
{
    const auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QString text = name ? name->text().trimmed() : QString();
    if (text.isEmpty() || text.contains(u'"'))
        return QString();
    if (text == u'~' || text.startsWith(QLatin1String("~/")))
        text = QDir::homePath() + text.mid(1);
    // Absolute, or relative to the folder shown.
    return QDir::cleanPath(directory().absoluteFilePath(text));
}

void PackageFileDialog::accept()
{
    // A typed path names its package wherever it lies; what the list has selected may be
    // another row.
    if (const QString package = packageOf(typedPath()); !package.isEmpty()) {
        choosePackage(package);
        return;
    }
    const QStringList files = selectedFiles();
    if (const QString package = files.isEmpty() ? QString() : packageOf(files.first()); !package.isEmpty()) {
        choosePackage(package);
        return;
    }
    // Plain folders are entered, files chosen, as the file dialog does.
    QFileDialog::accept();
}

void PackageFileDialog::done(int result)
{
    if (result == QDialog::Accepted && m_chosen.isEmpty())
        m_chosen = selectedFiles().value(0);
    if (result != QDialog::Accepted)
        m_chosen.clear();
    QFileDialog::done(result);
}

void PackageFileDialog::choosePackage(const QString& package)
{
    if (m_kind == Kind::Save
        && QMessageBox::warning(this, windowTitle(),
                                tr("%1 already exists.\nDo you want to replace it?").arg(QFileInfo(package).fileName()),
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               != QMessageBox::Yes)
        return;
    m_chosen = package;
    QDialog::accept();
}

void PackageFileDialog::leavePackage(const QString& directory)
{
    const QString package = packageOf(directory);
    if (package.isEmpty())
        return;
    setDirectory(QFileInfo(package).absolutePath());
    choosePackage(package);
}

QString PackageFileDialog::packageAt(QObject* watched, const QPoint& viewportPos) const
{
    auto* view = qobject_cast<QAbstractItemView*>(watched->parent());
    if (!view)
        return QString();
    const QString path = view->indexAt(viewportPos).data(QFileSystemModel::FilePathRole).toString();
    return isPackage(path) ? path : QString();
}

bool PackageFileDialog::eventFilter(QObject* watched, QEvent* event)
{
    // A package is opened where a folder would be entered: a double click on it, or Enter
    // while it is the selected row.
    if (event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (const QString package = packageAt(watched, mouse->position().toPoint()); !package.isEmpty()) {
            choosePackage(package);
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* view = qobject_cast<QAbstractItemView*>(watched);
        if (view && (key == Qt::Key_Return || key == Qt::Key_Enter) && view->selectionModel()) {
            const QModelIndexList rows = view->selectionModel()->selectedRows();
            const QString path = rows.size() == 1 ? rows.first().data(QFileSystemModel::FilePathRole).toString() : QString();
            if (isPackage(path)) {
                choosePackage(path);
                return true;
            }
        }
    }
    return QFileDialog::eventFilter(watched, event);
}
