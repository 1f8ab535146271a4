#include "CaretKeys.h"

#include <QKeyEvent>

namespace {

struct Binding
{
    QKeySequence::StandardKey moving;
    QKeySequence::StandardKey selecting;
    CaretKey key;
};

using Kind = CaretKey::Kind;
using Move = TextCaret::Move;

constexpr Binding bindings[] = {
    { QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar,
        { Kind::Along, Move::NextCharacter } },
    { QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar,
        { Kind::Along, Move::PreviousCharacter } },
    { QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine,
        { Kind::Along, Move::RowStart } },
    { QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, { Kind::Along, Move::RowEnd } },
    { QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument,
        { Kind::Along, Move::TextStart } },
    { QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument,
        { Kind::Along, Move::TextEnd } },
    { QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, { Kind::Word, {}, 1 } },
    { QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, { Kind::Word, {}, -1 } },
    { QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, { Kind::Row, {}, 1 } },
    { QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, { Kind::Row, {}, -1 } },
    { QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, { Kind::Page, {}, 1 } },
    { QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, { Kind::Page, {}, -1 } },
};

} // namespace

std::optional<CaretKey> caretKeyFor(QKeyEvent *event)
{
    for (Binding binding : bindings) {
        if (event == binding.moving || event == binding.selecting) {
            binding.key.selecting = event == binding.selecting;
            return binding.key;
        }
    }
    return std::nullopt;
}
