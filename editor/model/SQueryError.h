#pragma once

#include <string>

// What is wrong with a filter or a bulk change and the column (a character count from 1)
// where it is; shown as "expected a number at 7".
struct SQueryError {
    // What a form that builds the text itself can say in the user's words.
    enum class EProblem { Other, NumberExpected, WholeNumberExpected, NumberTooLarge, EndExpected };

    std::string message;
    int column = 0;
    EProblem problem = EProblem::Other;

    std::string Text() const { return message + " at " + std::to_string(column); }
};
