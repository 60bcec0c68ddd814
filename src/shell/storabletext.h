#pragma once
// Keeps a text box that the program saves to its files free of characters those files cannot
// hold: the files are Windows-1250 text, and a character outside it would be stored as "?"
// (a password saved so would no longer be the one the user typed). A typed or pasted text
// holding one is refused as it comes, and the user is told which character it was.

class QLineEdit;

namespace shell {

// Fits the box with the check. The box must have no validator of its own.
void refuseUnstorableCharacters(QLineEdit* edit);

} // namespace shell
