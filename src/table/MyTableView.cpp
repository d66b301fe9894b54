#include "table/MyTableView.h"
#include "app/AppDelegate.h"
#include "app/TableTextCodec.h"
#include "document/Document.h"
#include "document/TableBlock.h"
#include "document/TableText.h"
#include "platform/Dialogs.h"
#include "platform/Font72.h"
#include "platform/NumberText.h"
#include "table/MyCellDelegate.h"
#include "table/MyTableModel.h"
#include "windows/MySettingController.h"
#include "windows/MyWindowController.h"
#include <QApplication>
#include <QClipboard>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QMainWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>

const QString MyTableView::kBlockMimeType = QStringLiteral("application/x-vlb-table-block");

namespace {
QColor calibratedWhite(double w, double a) { return QColor::fromRgbF(w, w, w, a); }

QFont smallSystemFont()
{
    QFont f = QApplication::font();
    f.setPointSizeF(11.0);
    return f;
}

// Row heights are in points of a 72-dpi screen, one point to a pixel; the fonts must be
// measured the same way or a 12-point title overflows its 17-point row on a 96-dpi screen.
QFont qfontOf(const TextAttributes& attributes)
{
    if (!attributes.font)
        return QApplication::font();
    return Font72::forDevice(*attributes.font, nullptr);
}

// Titles and cells compare in the document's canonical form.
bool sameText(const QString& a, const QString& b)
{
    return TableBlock::canonical(a) == TableBlock::canonical(b);
}

}

MyTableView::MyTableView(QWidget* parent)
    : QTableView(parent),
      firstRowColor(calibratedWhite(0.88, 1.0)),
      firstColumnColor(calibratedWhite(0.75, 1.0)),
      selectedCellColor(QColor::fromRgbF(0.8, 0.9, 1.0, 0.25)),
      selectedCellsColor(QColor::fromRgbF(0.8, 0.9, 1.0, 1.0)),
      normalCellColor(Qt::white),
      tableGridColor(Qt::black),
      smallSystemFontAttr(smallSystemFont())
{
    m_titleQFont = QApplication::font();
    m_dataQFont = QApplication::font();
    m_model = new MyTableModel(this);
    setModel(m_model);
    setItemDelegate(new MyCellDelegate(this));
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* header = horizontalHeader();
    header->setMinimumSectionSize(30);
    header->setMaximumSectionSize(200);
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignCenter);
    header->viewport()->installEventFilter(this);
    connect(header, &QHeaderView::sectionClicked, this, &MyTableView::headerSectionClicked);
    connect(header, &QHeaderView::sectionResized, this, &MyTableView::headerSectionResized);
    connect(header, &QHeaderView::sectionMoved, this, &MyTableView::headerSectionMoved);
}

// ---- fonts and selection -------------------------------------------------------------------

void MyTableView::setTitleRowFont(const TextAttributes& attributes)
{
    m_titleRowFont = attributes;
    m_titleQFont = qfontOf(attributes);
    repaintCells();
}

void MyTableView::setDataRowFont(const TextAttributes& attributes)
{
    m_dataRowFont = attributes;
    m_dataQFont = qfontOf(attributes);
    repaintCells();
}

void MyTableView::setSelectingCells(const CellSelection& cells)
{
    m_selection.selectingCells = cells;
    repaintCells();
}

void MyTableView::selectAll()
{
    if (!hasCells())
        return;
    m_selection.selectAll(rowCountR(), columnCountC());
    repaintCells();
}

void MyTableView::repaintCells()
{
    // Highlighting is read at paint time: a repaint is all a selection change needs.
    viewport()->update();
}

bool MyTableView::requireEditable() const
{
    if (isEditable())
        return true;
    alert(QStringLiteral("This table is not currently editable."));
    return false;
}

template <class Transform>
void MyTableView::pushColumnsWith(Transform transform, const QString& actionName)
{
    // A column's texts, settings and counter always move together.
    myDoc->addTableData(transform(myDoc->tableData), false);
    myDoc->addColumnSettings(transform(myDoc->columnSettings), false);
    myDoc->addColumnCounter(transform(myDoc->columnCounter), false);
    myDoc->setTableDataWithSettingsWithSettings(true, 1, actionName);
}

void MyTableView::alert(const QString& message) const
{
    Alert* shared = myDoc ? myDoc->ourAlert : nullptr;
    if (shared) {
        shared->setMessageText(message);
        shared->runModal();
    } else {
        Dialogs::current().alert(message);
    }
}

// ---- data source ----------------------------------------------------------------------------

qint64 MyTableView::rowCountR() const
{
    return myDoc ? myDoc->tableMatrix.row : 0;
}

qint64 MyTableView::columnCountC() const
{
    return myDoc ? myDoc->tableMatrix.column : 0;
}

bool MyTableView::isEditable() const
{
    return myWindowCont && myWindowCont->editable;
}

int MyTableView::numberOfRowsInTableView() const
{
    return int(rowCountR() + (isEditable() ? 1 : 0));
}

QVariant MyTableView::objectValue(qint64 k, qint64 r) const
{
    if (k == 0)
        return r == 0 ? QVariant() : QVariant(QString::number(r));
    if (k < 0 || !myDoc)
        return {};
    const TableData& table = myDoc->tableData;
    if (r >= rowCountR() || k - 1 >= table.size())
        return {};
    const QStringList& column = table.at(k - 1);
    if (r < 0 || r >= column.size())
        return {};
    return column.at(r);
}

QVariant MyTableView::cellBackground(qint64 k, qint64 r) const
{
    if (k == 0)
        return firstColumnColor;
    const CellSelection& s = m_selection.selectingCells;
    if (r == s.row1 && k == s.column1)
        return selectedCellColor;
    return s.contains(r, k) ? selectedCellsColor : normalCellColor;
}

bool MyTableView::isAnchor(qint64 k, qint64 r) const
{
    const CellSelection& s = m_selection.selectingCells;
    return r == s.row1 && k == s.column1;
}

double MyTableView::heightOfRow(qint64 r) const
{
    if (!myDoc)
        return 17.0;
    const QVariant v = myDoc->tableRowSettings.value(r == 0 ? "titleRowHeight" : "dataRowHeight");
    return v.typeId() == QMetaType::QString ? NumberText::doubleValue(v.toString()) : 17.0;
}

bool MyTableView::shouldReorderColumn(qint64 i, qint64 j) const
{
    const qint64 C = columnCountC();
    return i >= 1 && i <= C && j != 0 && j <= C;
}

qint64 MyTableView::columnIdentifierAt(int position) const
{
    return position >= 0 && position < m_identifierValues.size() ? m_identifierValues.at(position) : -1;
}

QString MyTableView::columnIdentifierTextAt(int position) const
{
    return position >= 0 && position < m_identifiers.size() ? m_identifiers.at(position) : QString();
}

// ---- columns and rows -----------------------------------------------------------------------

void MyTableView::setSectionWidth(int position, double width)
{
    m_programResize = true;
    horizontalHeader()->resizeSection(position, int(std::lround(width)));
    m_programResize = false;
}

void MyTableView::fixTableColumns()
{
    const qint64 n = m_identifiers.size();
    const qint64 R = rowCountR();
    const qint64 C = columnCountC();
    const qint64 e = isEditable() ? 1 : 0;
    const qint64 wanted = C + 1 + e;

    const double x = double(R + e);
    const qint64 widest = qint64(std::pow(10.0, std::log10(x) + 1.0)) - 1;
    const QRectF box(0, 0, defaultSize.width, defaultSize.height);
    const double w = QFontMetricsF(smallSystemFontAttr).boundingRect(box, 0, QString::number(widest)).width();

    if (n > wanted) {
        m_identifiers.resize(wanted);
        m_identifierValues.resize(wanted);
    }
    for (qint64 i = n; i < wanted; ++i) {
        m_identifiers.append(QString::number(i));
        m_identifierValues.append(i);
    }
    m_programResize = true;
    m_model->setColumnCount(int(wanted));
    m_programResize = false;
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);

    const QVariantMap defaults = (myDoc && myDoc->ourDelegate()) ? myDoc->ourDelegate()->defaultColumnSettings : QVariantMap();
    // A header that updates lays itself out again after every resize, which made a wide
    // table take minutes; without updates it only records the widths, laid out once below.
    QHeaderView* header = horizontalHeader();
    const bool updates = header->updatesEnabled();
    header->setUpdatesEnabled(false);
    for (qint64 i = 0; i < wanted; ++i) {
        double width;
        if (i == 0)
            width = std::max(30.0, w + 10.0);
        else if (myDoc && i - 1 < myDoc->columnSettings.size() && i <= C)
            width = NumberText::doubleValue(myDoc->columnSettings.at(i - 1).value("width").toString());
        else
            width = defaults.isEmpty() ? 70.0 : NumberText::doubleValue(defaults.value("width").toString());
        if (i > 0)
            width = std::clamp(width, 30.0, 200.0);
        setSectionWidth(int(i), width);
    }
    header->setUpdatesEnabled(updates);
    updateGeometries();
    viewport()->update();
}

void MyTableView::applyRowHeights()
{
    QHeaderView* header = verticalHeader();
    const int data = std::max(1, int(std::lround(heightOfRow(1))));
    const int title = std::max(1, int(std::lround(heightOfRow(0))));
    if (data != m_appliedDataHeight) {
        header->setDefaultSectionSize(data);
        m_appliedDataHeight = data;
    }
    if (m_model->rowCount() > 0 && header->sectionSize(0) != title)
        header->resizeSection(0, title);
    m_appliedTitleHeight = title;
}

void MyTableView::reloadData()
{
    m_model->syncRows();
    applyRowHeights();
    viewport()->update();
}

// ---- editing --------------------------------------------------------------------------------

bool MyTableView::allowEditCellWithRow(qint64 row, qint64 columnIdentifier) const
{
    if (columnIdentifier < 1 || row < 0)
        return false;
    if (!isEditable())
        return false;
    const qint64 C = columnCountC();
    if (columnIdentifier == C + 1)
        return true;
    if (columnIdentifier > C + 1 || !myDoc)
        return false;
    const auto& counter = myDoc->columnCounter;
    return columnIdentifier - 1 >= counter.size() || counter.at(columnIdentifier - 1) < 1;
}

namespace {

bool isCellBreak(QChar ch)
{
    const char16_t c = ch.unicode();
    // Most characters are ruled out by the first two tests.
    return (c < 0x20 || c >= 0x2028) && (c == u'\t' || c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029);
}

// Whether cellText would change the text.
bool holdsCellBreak(QStringView text)
{
    return std::any_of(text.cbegin(), text.cend(), isCellBreak);
}

} // namespace

QString MyTableView::cellText(const QString& typed)
{
    // Nearly every cell holds none: it is passed on as it is, not copied.
    if (!holdsCellBreak(typed))
        return typed;
    QString s = typed;
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar& ch : s)
        if (isCellBreak(ch))
            ch = u' ';
    return s;
}

std::optional<QString> MyTableView::typedCellText(const QVariant& value, const QString& identifier, qint64 r) const
{
    if (!value.isValid() || value.typeId() != QMetaType::QString || !myDoc)
        return std::nullopt;
    const QString s = cellText(value.toString());
    const auto parsed = NumberText::parseInt64(identifier);
    if (!parsed)
        return std::nullopt;
    const qint64 c = *parsed;
    const qint64 R = rowCountR();
    const qint64 C = columnCountC();
    // Only cells of the grid: the data area plus the extra row and column.
    if (c < 1 || c > C + 1 || r < 0 || r > R)
        return std::nullopt;
    if (s.isEmpty() && (r == R || c == C + 1 || r == 0))
        return std::nullopt;
    if (r == 0)
        for (const QString& title : myDoc->variables)
            if (sameText(title, s))
                return std::nullopt;
    if (r < R && c <= C && sameText(myDoc->tableData.at(c - 1).at(r), s))
        return std::nullopt;
    return s;
}

void MyTableView::tableViewSetObjectValue(const QVariant& value, const QString& identifier, qint64 r)
{
    const std::optional<QString> s = typedCellText(value, identifier, r);
    if (!s)
        return;
    const qint64 c = *NumberText::parseInt64(identifier);
    const bool newColumn = c == columnCountC() + 1;
    if (myDoc->modifyTableWithArray(TableData{QStringList{*s}}, c, r, newColumn, false))
        myDoc->setTableDataWithSettingsWithSettings(newColumn, 1, QStringLiteral("Input"));
}

// ---- the document's steps, grid side --------------------------------------------------------

void MyTableView::tableSnapshotLoaded(bool settings)
{
    if (settings)
        fixTableColumns();
    reloadData();
}

void MyTableView::columnSettingsSnapshotLoaded()
{
    fixTableColumns();
}

void MyTableView::rowSettingsSnapshotLoaded()
{
    // Fonts always follow the stored attributes, so undoing a height change reloads the
    // same fonts and undoing a font change brings the old ones back.
    if (myDoc) {
        if (auto a = KeyedArchive::unarchiveAttributes(myDoc->tableRowSettings.value("titleRowAttr").toByteArray()))
            setTitleRowFont(*a);
        if (auto a = KeyedArchive::unarchiveAttributes(myDoc->tableRowSettings.value("dataRowAttr").toByteArray()))
            setDataRowFont(*a);
    }
    fixTableColumns();
    reloadData();
}

// ---- paste, import, copy --------------------------------------------------------------------

QVector<QStringList> MyTableView::blockFromText(const QString& text, QString* error)
{
    // Blank lines between rows stay rows, so that the block's rows keep lining up with the
    // table; the separator is decided by the first line.
    return TableTextCodec::read(text, QStringLiteral("Auto"), TableTextCodec::BlankLines::KeepBetweenRows, error);
}

void MyTableView::addString(const QString& string, bool newTable, const QString& actionName, const QString& noText)
{
    Q_UNUSED(newTable);
    if (!m_selection.selectingCells.isSingleCell()) {
        alert(QStringLiteral("You need to select only one cell."));
        return;
    }
    QString error;
    const TableData block = blockFromText(string, &error);
    if (!error.isEmpty()) {
        alert(error);
        return;
    }
    if (block.isEmpty() && !noText.isEmpty()) {
        alert(noText);
        return;
    }
    addBlock(block, actionName);
}

void MyTableView::addBlock(const QVector<QStringList>& rawBlock, const QString& actionName)
{
    if (!myDoc)
        return;
    const CellSelection& s = m_selection.selectingCells;
    if (!s.isSingleCell()) {
        alert(QStringLiteral("You need to select only one cell."));
        return;
    }
    const qint64 R = rowCountR();
    const qint64 C = columnCountC();
    TableData block = rawBlock;
    if (block.isEmpty() || block.first().isEmpty() || s.column1 < 1 || s.column1 > C + 1 || s.row1 < 0 || s.row1 > R) {
        alert(QStringLiteral("Invalid selection."));
        return;
    }
    const qint64 n = block.size();
    for (qint64 k = s.column1; k <= std::min(s.column1 + n - 1, C); ++k)
        if (!allowEditCellWithRow(0, k)) {
            alert(QStringLiteral("One or more columns are currently in use."));
            return;
        }
    qsizetype height = 0;
    for (qsizetype c = 0; c < block.size(); ++c) {
        // Only a cell that changes is written, so the block's columns are not copied.
        const QStringList& column = std::as_const(block)[c];
        for (qsizetype r = 0; r < column.size(); ++r)
            if (holdsCellBreak(column[r]))
                block[c][r] = cellText(column[r]);
        height = std::max(height, block[c].size());
    }
    // A title written here must not take the title of a column an analysis uses: the
    // analysis finds its columns by title.
    if (s.row1 == 0) {
        const qint64 lo = s.column1 - 1;
        const qint64 hi = s.column1 - 1 + n - 1;
        for (qint64 i = 0; i < C; ++i) {
            if ((i >= lo && i <= hi) || i >= myDoc->columnCounter.size() || myDoc->columnCounter.at(i) < 1)
                continue;
            for (const QStringList& column : block)
                if (!column.isEmpty() && sameText(column.first(), myDoc->tableData.at(i).first())) {
                    alert(QStringLiteral("One or more columns are currently in use."));
                    return;
                }
        }
    }
    const bool newColumn = s.column1 + n - 1 > C;
    if (myDoc->modifyTableWithArray(block, s.column1, s.row1, newColumn, false))
        myDoc->setTableDataWithSettingsWithSettings(newColumn, 1, actionName);
}

void MyTableView::paste()
{
    if (!requireEditable())
        return;
    if (m_selection.selectingCells.column1 == 0)
        return;
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    if (!mime)
        return;
    if (mime->hasFormat(kBlockMimeType)) {
        QByteArray bytes = mime->data(kBlockMimeType);
        QDataStream in(&bytes, QIODevice::ReadOnly);
        TableData block;
        in >> block;
        // A block without a cell is read as the text beside it.
        if (in.status() == QDataStream::Ok && !block.isEmpty() && !block.first().isEmpty()) {
            addBlock(block, QStringLiteral("Paste"));
            return;
        }
    }
    if (!mime->hasText())
        return;
    // Line ends and separators alone are no table: the clipboard is at fault, not the selection.
    addString(mime->text(), false, QStringLiteral("Paste"), QStringLiteral("The clipboard holds no table text."));
}

void MyTableView::importTable()
{
    if (!requireEditable())
        return;
    const QString path = Dialogs::current().openFile(QStringLiteral("Select a Text File"), QString());
    if (path.isEmpty())
        return;
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    const auto unreadable = [&] {
        alert(QStringLiteral("The file \u201c%1\u201d could not be read: %2").arg(name, file.errorString()));
    };
    if (!file.open(QIODevice::ReadOnly))
        return unreadable();
    // Refused before it is read: a file this large would only fill the memory.
    if (file.size() > TableText::kMaxBytes) {
        const QLocale english(QLocale::English);
        alert(QStringLiteral("The file \u201c%1\u201d is too large: %2 bytes; a table text may have at most %3 bytes.")
                  .arg(name, english.toString(file.size()), english.toString(TableText::kMaxBytes)));
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return unreadable();
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        alert(QStringLiteral("The file \u201c%1\u201d is not a UTF-8 text.").arg(name));
        return;
    }
    if (m_selection.selectingCells.column1 == 0)
        setSelectingCells({0, 1, 0, 1});
    // Nothing but line ends and separators is no table: the file is at fault, not the selection.
    addString(text, false, QStringLiteral("Import Table"),
              QStringLiteral("The file \u201c%1\u201d holds no table text.").arg(name));
}

void MyTableView::copy()
{
    const CellSelection& s = m_selection.selectingCells;
    // Nothing to copy from the row numbers (or a drag that reached them).
    if (s.columnLo() < 1 || !myDoc)
        return;
    const qint64 R = rowCountR();
    const qint64 C = columnCountC();
    if (s.column1 > C || s.column2 > C || s.row1 >= R || s.row2 >= R) {
        alert(QStringLiteral("The current selection is including the outside of the data area."));
        return;
    }
    TableData block;
    for (qint64 k = s.columnLo(); k <= s.columnHi(); ++k)
        block.append(myDoc->tableData.at(k - 1).mid(s.rowLo(), s.rowHi() - s.rowLo() + 1));
    auto* mime = new QMimeData;
    mime->setText(TableTextCodec::write(block));
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << block;
    mime->setData(kBlockMimeType, bytes);
    QApplication::clipboard()->setMimeData(mime);
}

// ---- column and row commands ----------------------------------------------------------------

void MyTableView::tableViewColumnDidResize(int position)
{
    if (!myDoc)
        return;
    const qint64 k = columnIdentifierAt(position);
    const qint64 C = columnCountC();
    if (k <= 0 || k >= C + 1 || k - 1 >= myDoc->columnSettings.size())
        return;
    const double w = horizontalHeader()->sectionSize(position);
    if (NumberText::doubleValue(myDoc->columnSettings.at(k - 1).value("width").toString()) == w)
        return;
    myDoc->modifyColumnSettingWithKey(QStringLiteral("width"), NumberText::realString(w), {k - 1});
    myDoc->setColumnSettingsWithChange(1, QStringLiteral("Set Column Width"));
}

void MyTableView::tableViewColumnDidMove(int o, int n)
{
    if (!myDoc || o == n)
        return;
    for (int i = 0; i < m_identifiers.size(); ++i) {
        m_identifiers[i] = QString::number(i);
        m_identifierValues[i] = i;
    }
    pushColumnsWith(
        [o, n](auto list) {
            list.move(o - 1, n - 1);
            return list;
        },
        QStringLiteral("Reorder Columns"));
}

void MyTableView::columnWidth()
{
    if (!myDoc || !myWindowCont || myWindowCont->windowType() != QLatin1String("TableWindow"))
        return;
    const CellSelection& s = m_selection.selectingCells;
    const qint64 C = columnCountC();
    qint64 lo = 0;
    qint64 hi = C - 1;
    if (s.column1 != 0) {
        lo = s.columnLo() - 1;
        hi = s.columnHi() - 1;
    }
    // Widths live only for data columns.
    if (C == 0 || lo < 0 || hi >= C || hi >= myDoc->columnSettings.size()) {
        alert(QStringLiteral("Invalid selection."));
        return;
    }
    const auto& settings = myDoc->columnSettings;
    QString proposed = settings.at(lo).value("width").toString();
    const double first = NumberText::doubleValue(proposed);
    for (qint64 i = lo; i <= hi; ++i)
        if (NumberText::doubleValue(settings.at(i).value("width").toString()) != first) {
            proposed = QStringLiteral("Various values");
            break;
        }
    MySettingController* dialog = myDoc->ourDelegate() ? myDoc->ourDelegate()->settingCont : nullptr;
    if (!dialog)
        return;
    const auto result = dialog->runColumnWidthDialog(proposed, s.column1 != 0);
    if (result.width.isEmpty())
        return;
    QList<qint64> indexes;
    const qint64 from = result.allColumns == 1 ? 0 : lo;
    const qint64 to = result.allColumns == 1 ? C - 1 : hi;
    for (qint64 i = from; i <= to; ++i)
        indexes.append(i);
    myDoc->modifyColumnSettingWithKey(QStringLiteral("width"), result.width, indexes);
    myDoc->setColumnSettingsWithChange(1, QStringLiteral("Set Column Width"));
}

void MyTableView::sortColumns(int tag)
{
    if (!myDoc)
        return;
    const qint64 C = columnCountC();
    QVector<qint64> order(C);
    for (qint64 i = 0; i < C; ++i)
        order[i] = i;
    const TableData& table = myDoc->tableData;
    auto title = [&table](qint64 i) { return table.at(i).isEmpty() ? QString() : table.at(i).first(); };
    if (tag >= 1)
        std::stable_sort(order.begin(), order.end(), [&](qint64 a, qint64 b) { return title(a) < title(b); });
    else
        std::stable_sort(order.begin(), order.end(), [&](qint64 a, qint64 b) { return title(b) < title(a); });
    auto reordered = [&order](const auto& list) {
        std::decay_t<decltype(list)> out;
        out.reserve(order.size());
        for (qint64 i : order)
            out.append(i < list.size() ? list.at(i) : typename std::decay_t<decltype(list)>::value_type());
        return out;
    };
    pushColumnsWith(reordered, QStringLiteral("Sort Columns"));
}

void MyTableView::deleteColumns()
{
    if (!myDoc || !requireEditable())
        return;
    const CellSelection& s = m_selection.selectingCells;
    const qint64 R = rowCountR();
    const qint64 C = columnCountC();
    // Whole data columns, from the title row down to the last data row; the columns in
    // either order, the extra column and the row numbers never.
    if (s.column1 == 0 || s.row1 != 0 || s.row2 != R - 1 || s.columnLo() < 1 || s.columnHi() > C) {
        alert(QStringLiteral("Invalid selection."));
        return;
    }
    const qint64 lo = s.columnLo() - 1;
    const qint64 hi = s.columnHi() - 1;
    for (qint64 i = lo; i <= hi; ++i)
        if (i < myDoc->columnCounter.size() && myDoc->columnCounter.at(i) > 0) {
            alert(QStringLiteral("One or more columns are currently in use."));
            return;
        }
    auto removed = [lo, hi](auto list) {
        list.remove(lo, std::min<qsizetype>(hi + 1, list.size()) - lo);
        return list;
    };
    pushColumnsWith(removed, QStringLiteral("Delete Columns"));
}

void MyTableView::deleteRows()
{
    if (!myDoc || !requireEditable())
        return;
    const CellSelection& s = m_selection.selectingCells;
    const qint64 R = rowCountR();
    const qint64 C = columnCountC();
    // Whole data rows across every column from the first, the title row and the extra row
    // never; the rows in either order.
    if (s.column1 != 1 || s.column2 != C || s.rowLo() < 1 || s.rowHi() >= R) {
        alert(QStringLiteral("Invalid selection."));
        return;
    }
    const qint64 lo = s.rowLo();
    const qint64 hi = s.rowHi();
    const TableData& table = myDoc->tableData;
    for (qint64 i = 0; i < C; ++i) {
        if (i >= myDoc->columnCounter.size() || myDoc->columnCounter.at(i) < 1)
            continue;
        for (qint64 r = lo; r <= hi; ++r)
            if (!table.at(i).at(r).isEmpty()) {
                alert(QStringLiteral("Data are currently in use."));
                return;
            }
    }
    TableData next = table;
    for (QStringList& column : next)
        column.remove(lo, hi - lo + 1);
    myDoc->addTableData(next, false);
    myDoc->setTableDataWithSettingsWithSettings(false, 1, QStringLiteral("Delete Rows"));
}

// ---- fonts and row heights ------------------------------------------------------------------

void MyTableView::changeFont()
{
    if (!myDoc)
        return;
    const CellSelection& s = m_selection.selectingCells;
    if (s.column1 == 0)
        return;
    if ((s.row1 == 0) != (s.row2 == 0))
        return;
    const bool title = s.row1 == 0;
    const TextAttributes& attributes = title ? m_titleRowFont : m_dataRowFont;
    const FontSpec stored = attributes.font ? *attributes.font : FontSpec::fromQFont(title ? m_titleQFont : m_dataQFont);
    const std::optional<FontSpec> converted = Dialogs::current().chooseFont(stored);
    if (!converted || *converted == stored)
        return;
    TextAttributes next = attributes;
    next.font = *converted;
    QVariantMap settings = myDoc->tableRowSettings;
    settings.insert(title ? QStringLiteral("titleRowAttr") : QStringLiteral("dataRowAttr"),
                    KeyedArchive::archiveAttributes(next));
    myDoc->addRowSettings(settings, false);
    myDoc->setRowSettingsWithChange(1, QStringLiteral("Change Font"));
}

void MyTableView::rowHeight()
{
    if (!myDoc)
        return;
    MySettingController* dialog = myDoc->ourDelegate() ? myDoc->ourDelegate()->settingCont : nullptr;
    if (!dialog)
        return;
    const QVariantMap& stored = myDoc->tableRowSettings;
    const QString titleText = stored.value("titleRowHeight").toString();
    const QString dataText = stored.value("dataRowHeight").toString();
    const auto result = dialog->runRowHeightDialog(titleText, dataText);
    if (result.titleHeight.isEmpty() && result.titleSizeToFit == 0)
        return;
    auto fitted = [&stored](const char* key, const QString& typed, int sizeToFit) {
        if (sizeToFit != 1)
            return typed;
        const auto attributes = KeyedArchive::unarchiveAttributes(stored.value(key).toByteArray());
        return NumberText::realString(QFontMetricsF(qfontOf(attributes ? *attributes : TextAttributes())).height());
    };
    const QString newTitle = fitted("titleRowAttr", result.titleHeight, result.titleSizeToFit);
    const QString newData = fitted("dataRowAttr", result.dataHeight, result.dataSizeToFit);
    if (newTitle == titleText && newData == dataText)
        return;
    QVariantMap settings = stored;
    settings.insert(QStringLiteral("titleRowHeight"), newTitle);
    settings.insert(QStringLiteral("dataRowHeight"), newData);
    myDoc->addRowSettings(settings, false);
    myDoc->setRowSettingsWithChange(1, QStringLiteral("Set Row Height"));
}

// ---- mouse ----------------------------------------------------------------------------------

void MyTableView::mouseDownAt(const QPoint& pos, Qt::KeyboardModifiers modifiers)
{
    setFocus(Qt::MouseFocusReason);
    const qint64 r = rowAt(pos.y());
    const qint64 c = columnAt(pos.x());
    if (m_selection.mouseDown(r, c, modifiers & Qt::ShiftModifier, rowCountR(), columnCountC()))
        repaintCells();
}

void MyTableView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_skipRelease = false;
    mouseDownAt(event->position().toPoint(), event->modifiers());
}

void MyTableView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // The second press of a double click: its button-up is handled here, since not every
    // source of double clicks sends one.
    mouseDownAt(event->position().toPoint(), event->modifiers());
    mouseUpAt(event->position().toPoint(), 2);
    m_skipRelease = true;
}

void MyTableView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint pos = event->position().toPoint();
    if (m_selection.mouseDragged(rowAt(pos.y()), columnAt(pos.x()), rowCountR(), columnCountC()))
        repaintCells();
}

void MyTableView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (std::exchange(m_skipRelease, false))
        return;
    mouseUpAt(event->position().toPoint(), 1);
}

void MyTableView::mouseUpAt(const QPoint& pos, int clickCount)
{
    const qint64 r = rowAt(pos.y());
    const qint64 c = columnAt(pos.x());
    const auto result = m_selection.mouseUp(r, c, clickCount, rowCountR(), columnCountC(),
                                            [this](qint64 row, qint64 column) { return allowEditCellWithRow(row, column); });
    if (result.edit) {
        edit(m_model->index(int(r), int(c)));
        return;
    }
    if (result.reload)
        repaintCells();
}

void MyTableView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        paste();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    // Keys the open editor passes on (its Return) belong to it: closing it moves on.
    if (state() == EditingState) {
        QTableView::keyPressEvent(event);
        return;
    }
    // Return goes down (up with shift), Tab across, arrows their way; F2 edits in place.
    static const struct {
        int key;
        qint64 rows, columns;
    } moves[] = {{Qt::Key_Return, 1, 0}, {Qt::Key_Enter, 1, 0}, {Qt::Key_Tab, 0, 1}, {Qt::Key_Backtab, 0, -1},
                 {Qt::Key_Up, -1, 0},    {Qt::Key_Down, 1, 0},  {Qt::Key_Left, 0, -1}, {Qt::Key_Right, 0, 1}};
    for (const auto& m : moves)
        if (event->key() == m.key) {
            const bool up = (m.key == Qt::Key_Return || m.key == Qt::Key_Enter) && (event->modifiers() & Qt::ShiftModifier);
            moveAnchor(up ? -m.rows : m.rows, m.columns);
            return;
        }
    if (event->key() == Qt::Key_F2) {
        editAnchor(nullptr);
        return;
    }
    if (jumpAnchor(event))
        return;
    // Typing over a selected cell starts editing it with what was typed.
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        && editAnchor(event))
        return;
    QTableView::keyPressEvent(event);
}

void MyTableView::moveAnchor(qint64 rows, qint64 columns)
{
    const CellSelection& s = m_selection.selectingCells;
    if (s.column1 == 0)
        return;
    const qint64 r = std::clamp<qint64>(s.row1 + rows, 0, std::max(0, numberOfRowsInTableView() - 1));
    const qint64 c = std::clamp<qint64>(s.column1 + columns, 1, std::max(1, numberOfGridColumns() - 1));
    m_selection.deselectAll();
    setSelectingCells({r, c, r, c});
    scrollTo(m_model->index(int(r), int(c)));
}

bool MyTableView::jumpAnchor(const QKeyEvent* event)
{
    // Qt's own handling of these keys would move its current cell, which clicks never set.
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int key = event->key();
    if (key != Qt::Key_PageUp && key != Qt::Key_PageDown && key != Qt::Key_Home && key != Qt::Key_End)
        return false;
    const CellSelection& s = m_selection.selectingCells;
    QScrollBar* bar = verticalScrollBar();
    if (s.column1 == 0) {
        // Nothing to move: the keys scroll.
        if (key == Qt::Key_PageUp || key == Qt::Key_PageDown)
            bar->triggerAction(key == Qt::Key_PageUp ? QAbstractSlider::SliderPageStepSub : QAbstractSlider::SliderPageStepAdd);
        else if (control)
            bar->triggerAction(key == Qt::Key_Home ? QAbstractSlider::SliderToMinimum : QAbstractSlider::SliderToMaximum);
        return true;
    }
    const qint64 lastRow = std::max(0, numberOfRowsInTableView() - 1);
    const qint64 lastColumn = std::max<qint64>(1, columnCountC());
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
        // A page is the rows in view; the view scrolls by as much, so the cell keeps its place.
        const int top = rowAt(0);
        const int bottom = rowAt(viewport()->height() - 1);
        const qint64 page = std::max(1, (bottom < 0 ? int(lastRow) : bottom) - top);
        const bool up = key == Qt::Key_PageUp;
        bar->triggerAction(up ? QAbstractSlider::SliderPageStepSub : QAbstractSlider::SliderPageStepAdd);
        moveAnchor(up ? -page : page, 0);
    } else if (control) {
        // The first cell, or the last cell of the table (the extra row and column left out).
        const qint64 r = key == Qt::Key_Home ? 0 : std::max<qint64>(0, rowCountR() - 1);
        const qint64 c = key == Qt::Key_Home ? 1 : lastColumn;
        moveAnchor(r - s.row1, c - s.column1);
    } else {
        moveAnchor(0, (key == Qt::Key_Home ? 1 : lastColumn) - s.column1);
    }
    return true;
}

bool MyTableView::editAnchor(QKeyEvent* typed)
{
    const CellSelection& s = m_selection.selectingCells;
    if (s.column1 == 0 || !s.isSingleCell() || !allowEditCellWithRow(s.row1, columnIdentifierAt(int(s.column1))))
        return false;
    const QModelIndex index = m_model->index(int(s.row1), int(s.column1));
    if (!typed)
        return QTableView::edit(index, AllEditTriggers, nullptr);
    // The editor opens with the typed key as its first input, replacing the old text; the
    // view's own triggers stay off otherwise, since the grid decides when editing starts.
    setEditTriggers(AnyKeyPressed);
    const bool opened = edit(index, AnyKeyPressed, typed);
    setEditTriggers(NoEditTriggers);
    return opened;
}

void MyTableView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    // Return moves down and Tab across, so a column of values can be typed in one go.
    if (hint == QAbstractItemDelegate::SubmitModelCache)
        moveAnchor(1, 0);
    else if (hint == QAbstractItemDelegate::EditNextItem)
        moveAnchor(0, 1);
    else if (hint == QAbstractItemDelegate::EditPreviousItem)
        moveAnchor(0, -1);
}

// ---- header ---------------------------------------------------------------------------------

bool MyTableView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == horizontalHeader()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) {
            m_headerShift = static_cast<QMouseEvent*>(event)->modifiers() & Qt::ShiftModifier;
        }
        if (event->type() == QEvent::MouseButtonPress)
            m_headerPressed = true;
        // A drag has set the width by the time the button comes up: record it as one step.
        if (event->type() == QEvent::MouseButtonRelease) {
            m_headerPressed = false;
            commitPendingResizes();
        }
    }
    return QTableView::eventFilter(watched, event);
}

void MyTableView::headerSectionClicked(int logical)
{
    const qint64 k = columnIdentifierAt(logical);
    if (k < 0)
        return;
    if (m_selection.headerClicked(k, m_headerShift, rowCountR(), columnCountC()))
        repaintCells();
}

void MyTableView::headerSectionResized(int logical, int, int)
{
    if (m_programResize)
        return;
    m_pendingResizes.insert(logical);
    // Resizes outside a header drag (a double click on a divider) are recorded at once.
    if (!m_headerPressed)
        commitPendingResizes();
}

void MyTableView::commitPendingResizes()
{
    const QSet<int> pending = std::exchange(m_pendingResizes, {});
    for (int position : pending)
        tableViewColumnDidResize(position);
}

void MyTableView::headerSectionMoved(int logical, int oldVisual, int newVisual)
{
    if (m_programMove)
        return;
    // The model's columns stay in place: the document reorders its table instead, so a
    // column's identifier is always its position.
    m_programMove = true;
    horizontalHeader()->moveSection(newVisual, oldVisual);
    m_programMove = false;
    Q_UNUSED(logical);
    if (shouldReorderColumn(oldVisual, newVisual))
        tableViewColumnDidMove(oldVisual, newVisual);
}
