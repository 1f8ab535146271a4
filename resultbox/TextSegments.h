#pragma once

#include "ResultText.h"

#include <QAccessible>
#include <utility>

// Characters, words, sentences and paragraphs of a text of any length, as assistive technology
// reads them: words and sentences where Qt's boundary finder starts or ends one, paragraphs at
// line feeds. A number of any length is one word.
namespace TextSegments {

// The character, word, sentence or paragraph that holds the character at `offset`, which must lie
// in the text, as the offsets of its first character and of its end. A word runs from one word
// edge to the next, so the blanks between two words make a segment of their own.
std::pair<qsizetype, qsizetype> around(
    const ResultText &text, qsizetype offset, QAccessible::TextBoundaryType boundary);

// The word at `offset` as a reader reads it: in a run of digits a group of three, counted from the
// decimal comma as Czech writes long numbers (the whole part leftwards from it); elsewhere the word
// apart from its digits. So no word grows with the length of a result.
std::pair<qsizetype, qsizetype> readerWord(const ResultText &text, qsizetype offset);

} // namespace TextSegments
