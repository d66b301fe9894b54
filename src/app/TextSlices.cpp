#include "app/TextSlices.h"
#include <cstring>

namespace {

// Blocks of a column's own builder: 128 kB, so that the part of each column's last block
// left unused stays small beside the table.
constexpr qsizetype kColumnBlockChars = qsizetype(1) << 16;

} // namespace

// Each string takes at least two characters (one and its terminating null), so a block gives
// out fewer strings than half its characters.
TextSlices::TextSlices(qsizetype blockChars)
    : m_blockChars(qMax<qsizetype>(blockChars, 64))
    , m_reserved(int(m_blockChars / 2))
{
}

TextSlices::~TextSlices() { retire(); }

// A block is made holding a reference for every string it could give out, so that making a
// string needs no atomic count; the references not used are given back here. Until then
// every string of the block counts as shared and is copied before it changes.
void TextSlices::retire()
{
    QString::DataPointer block = std::move(m_block);
    if (block.d_ptr())
        block.d_ptr()->ref_.fetchAndSubRelaxed(m_reserved - m_made);
    m_made = 0;
    m_used = 0;
}   // block drops the builder's own reference, freeing a block whose strings are all gone

QString TextSlices::add(QStringView text)
{
    const qsizetype n = text.size();
    if (n == 0)
        return QString();
    if (n > kLongText)
        return text.toString();
    std::memcpy(room(n), text.utf16(), size_t(n) * sizeof(char16_t));
    return commit(n);
}

char16_t* TextSlices::room(qsizetype n)
{
    if (n > kLongText) {
        m_long = QString(n, Qt::Uninitialized);
        return reinterpret_cast<char16_t*>(m_long.data());
    }
    m_long = QString();
    // One more for the terminating null every QString's text has.
    if (!m_block.d_ptr() || m_used + n + 1 > m_block.constAllocatedCapacity()) {
        retire();
        // A text longer than the block gets a block of its own size.
        auto [header, data] = QTypedArrayData<char16_t>::allocate(qMax(m_blockChars, n + 1));
        header->ref_.fetchAndAddRelaxed(m_reserved);
        m_block = QString::DataPointer(header, data, 0);
    }
    return m_block.data() + m_used;
}

QString TextSlices::commit(qsizetype length)
{
    if (!m_long.isNull()) {
        m_long.truncate(length);
        return std::exchange(m_long, QString());
    }
    if (length == 0)
        return QString();
    char16_t* at = m_block.data() + m_used;
    at[length] = 0;
    m_used += length + 1;
    ++m_made;   // one of the references the block was made with
    return QString(QString::DataPointer(m_block.d_ptr(), at, length));
}

TextSlices& ColumnSlices::of(qsizetype column)
{
    const size_t k = size_t(qMin(column, kOwnColumns));
    while (m_builders.size() <= k)
        m_builders.push_back(std::make_unique<TextSlices>(m_builders.size() < size_t(kOwnColumns)
                                                              ? kColumnBlockChars
                                                              : TextSlices::kBlockChars));
    return *m_builders[k];
}
