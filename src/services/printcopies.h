#pragma once
// The copies prompt of the form prints: "Enter number of copies to print:", answered with a
// number from 1 to 100.

#include "services/usermessage.h"

#include <QString>
#include <optional>

namespace platform {
class Prompts;
}

namespace services {

struct CopiesAnswer {
    // The number of copies to print (1 to 100; a fraction typed is rounded half to even);
    // nothing when no print is to be made.
    std::optional<int> copies;
    // Why the answer was refused, for the window to show: "YOU CAN ENTER ONLY NUMBERS!" or
    // "Up to 100 pages!". Nothing for an answer that is a print, and for an empty answer,
    // Cancel or a number below 1, which end the command without a word.
    std::optional<UserMessage> refusal;
};

// Asks through the prompts, with the program's title and an empty default answer.
[[nodiscard]] CopiesAnswer AskPrintCopies(platform::Prompts& prompts);

} // namespace services
