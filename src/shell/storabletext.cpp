#include "shell/storabletext.h"

#include "platform/prompts.h"
#include "platform/textcodec.h"

#include <QLineEdit>
#include <QValidator>

namespace shell {

namespace {

constexpr int ExclamationOk = 48;

// Refuses any text holding a character the files cannot store; the box then keeps the text it
// had before the key or the paste.
class StorableTextValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return platform::firstUnheld(input) < 0 ? Acceptable : Invalid;
    }
};

} // namespace

void refuseUnstorableCharacters(QLineEdit* edit)
{
    edit->setValidator(new StorableTextValidator(edit));
    // The box tells of a refusal while it still holds the refused text; a refusal of another
    // kind (a text longer than the box takes) names no character and is passed over.
    QObject::connect(edit, &QLineEdit::inputRejected, edit, [edit] {
        const QString refused = edit->text();
        const qsizetype at = platform::firstUnheld(refused);
        if (at < 0)
            return;
        platform::prompts().MsgBox(
            QStringLiteral("The character %1 cannot be stored: Quorvane keeps its files in Central European "
                           "text (Windows-1250), which does not hold it. Please type another character.")
                .arg(platform::characterName(refused, at)),
            ExclamationOk);
    });
}

} // namespace shell
