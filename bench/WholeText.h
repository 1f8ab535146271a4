#pragma once

// A result box holding a hundred million digits, shown: what Select All, Copy, a paste by another
// program, Ctrl+Shift+End, Shift+Left with everything selected, a double click on the digits and a
// reader's word and sentence at the caret each cost, and the resident set they leave.
int wholeText();
