#include "window/qt/page_list_model.h"

#include "publication/publication_inputs.h"
#include "window/form1_commands.h"
#include "window/qt/qt_text.h"

#include <QFile>

#include <algorithm>

namespace lumvrex {

std::string fileNameBytes(const QString &path)
{
    const QByteArray bytes = QFile::encodeName(path);
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

int PageListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_editor.size());
}

QString PageListModel::path(qsizetype row) const
{
    return qString(pageDescription(m_editor.entries()[static_cast<std::size_t>(row)]));
}

const std::vector<std::string> &PageListModel::labels() const
{
    if (!m_labelsValid) {
        m_labels = pageLabels(m_editor.entries());
        m_labelsValid = true;
    }
    return m_labels;
}

QVariant PageListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= m_editor.size())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return qString(labels()[row]);
    case Qt::ToolTipRole:
        // The page line comes first: Qt takes a tooltip for rich text when
        // its first line holds a tag, and a file name may well look like one.
        return qString(pageTooltipHeading(row, m_editor.size())) + QLatin1Char('\n') + path(index.row());
    case Qt::AccessibleTextRole:
        return qString(pageSpokenName(row, m_editor.size(), m_editor.entries()[row]));
    case Qt::AccessibleDescriptionRole:
        return path(index.row());
    default:
        return {};
    }
}

EditOutcome PageListModel::append(std::vector<std::string> paths, PageSource source)
{
    const std::size_t before = m_editor.size();
    const std::size_t taken = std::min(kMaxPages - std::min(before, kMaxPages), paths.size());
    if (taken == 0)
        return m_editor.append(std::move(paths), source);
    // One insertion for the whole drop keeps large drops fast.
    beginInsertRows(QModelIndex(), static_cast<int>(before), static_cast<int>(before + taken) - 1);
    EditOutcome outcome = m_editor.append(std::move(paths), source);
    m_labelsValid = false;
    endInsertRows();
    // The last entry's neighbour changed: what it shows may too.
    if (before > 0)
        emit dataChanged(index(static_cast<int>(before) - 1), index(static_cast<int>(before) - 1));
    emit changed();
    return outcome;
}

qsizetype PageListModel::append(const QStringList &paths)
{
    std::vector<std::string> bytes;
    bytes.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString &path : paths)
        bytes.push_back(fileNameBytes(path));
    const std::size_t before = m_editor.size();
    append(std::move(bytes), PageSource::Drop);
    return paths.size() - static_cast<qsizetype>(m_editor.size() - before);
}

EditOutcome PageListModel::edit(const std::function<EditOutcome(PageListEditor &)> &command)
{
    beginResetModel();
    EditOutcome outcome = command(m_editor);
    m_labelsValid = false;
    endResetModel();
    emit changed();
    return outcome;
}

void PageListModel::clear()
{
    edit([](PageListEditor &editor) { return editor.clear(); });
}

} // namespace lumvrex
