#include "TextSegments.h"

#include <QTextBoundaryFinder>
#include <algorithm>

namespace {

// What the finder sees on either side of a position: enough for the words and sentences of any
// ordinary text.
constexpr qsizetype context = 16;

bool isDigitPair(const ResultText &text, qsizetype position)
{
    return position > 0 && position < text.size() && ResultText::isDigit(text.at(position - 1))
        && ResultText::isDigit(text.at(position));
}

// Whether the finder starts or ends a word or a sentence at `position`. Between two digits it
// never does, which spares looking closer at the long runs of digits a result is made of.
bool isEdge(const ResultText &text, qsizetype position, QTextBoundaryFinder::BoundaryType type)
{
    if (position <= 0 || position >= text.size())
        return true;
    if (isDigitPair(text, position))
        return false;
    const qsizetype from = std::max<qsizetype>(0, position - context);
    QTextBoundaryFinder finder(
        type, text.mid(from, std::min(text.size(), position + context) - from));
    finder.setPosition(int(position - from));
    return finder.boundaryReasons()
        & (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem);
}

std::pair<qsizetype, qsizetype> betweenEdges(
    const ResultText &text, qsizetype offset, QTextBoundaryFinder::BoundaryType type)
{
    auto notDigit = [](QChar c) { return !ResultText::isDigit(c); };
    qsizetype start = offset;
    while (!isEdge(text, start, type))
        start = isDigitPair(text, start) ? text.findBackward(start, notDigit) + 1 : start - 1;
    qsizetype end = start + 1;
    while (!isEdge(text, end, type))
        end = isDigitPair(text, end) ? text.findForward(end, notDigit) : end + 1;
    return { start, end };
}

} // namespace

std::pair<qsizetype, qsizetype> TextSegments::around(
    const ResultText &text, qsizetype offset, QAccessible::TextBoundaryType boundary)
{
    switch (boundary) {
    case QAccessible::CharBoundary: {
        const qsizetype start = text.splitsSurrogatePair(offset) ? offset - 1 : offset;
        return { start, text.splitsSurrogatePair(start + 1) ? start + 2 : start + 1 };
    }
    case QAccessible::WordBoundary:
        return betweenEdges(text, offset, QTextBoundaryFinder::Word);
    case QAccessible::SentenceBoundary:
        return betweenEdges(text, offset, QTextBoundaryFinder::Sentence);
    default:
        break;
    }
    auto lineFeed = [](QChar c) { return c == u'\n'; };
    return { text.findBackward(offset, lineFeed) + 1,
        std::min(text.size(), text.findForward(offset, lineFeed) + 1) };
}

std::pair<qsizetype, qsizetype> TextSegments::readerWord(const ResultText &text, qsizetype offset)
{
    const auto isDigit = &ResultText::isDigit;
    if (!isDigit(text.at(offset))) {
        const auto [start, end] = around(text, offset, QAccessible::WordBoundary);
        return { std::max(start, text.findBackward(offset, isDigit) + 1),
            std::min(end, text.findForward(offset, isDigit)) };
    }
    auto notDigit = [](QChar c) { return !ResultText::isDigit(c); };
    const qsizetype start = text.findBackward(offset, notDigit) + 1;
    const qsizetype end = text.findForward(offset, notDigit);
    if (start > 1 && text.at(start - 1) == u',' && isDigit(text.at(start - 2))) {
        const qsizetype groupStart = offset - (offset - start) % 3;
        return { groupStart, std::min(end, groupStart + 3) };
    }
    const qsizetype groupEnd = end - (end - 1 - offset) / 3 * 3;
    return { std::max(start, groupEnd - 3), groupEnd };
}
