#pragma once

#include "TextCaret.h"

#include <optional>

class QKeyEvent;

// A key of a text box that moves the caret, and with Shift selects: along the text, a word, a row
// or a page.
struct CaretKey
{
    enum class Kind { Along, Word, Row, Page };

    Kind kind;
    // Along the text: how.
    TextCaret::Move move {};
    // A word, a row or a page: back (-1) or on (1).
    int direction = 0;
    bool selecting = false;
};

std::optional<CaretKey> caretKeyFor(QKeyEvent *event);
