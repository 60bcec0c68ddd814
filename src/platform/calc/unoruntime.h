#pragma once
// The UNO runtime of our own process: bootstrapped once, shared by every office connection.

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <QString>

namespace platform::calc {

class UnoRuntime {
public:
    // The local component context, or an empty reference when the runtime cannot start;
    // error then says why. Thread-safe; bootstraps on the first call.
    static css::uno::Reference<css::uno::XComponentContext> context(QString& error);

    // The office's program folder, where its libraries and type libraries lie.
    static QString programDir();
};

} // namespace platform::calc
