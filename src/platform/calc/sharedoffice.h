#pragma once
// The program's one private office: started by the first spreadsheet command, used by every
// command after it, started again when it has died, and ended when the program ends. Its
// profile folder lasts as long as the program, so a start after the first finds it set up.

#include "platform/calc/calcoptions.h"

#include <QString>
#include <memory>

namespace platform::calc {

class OfficeProcess;

namespace SharedOffice {

// The running office of the program named in the options, started now when there is none,
// or when the one there has ended or does not answer. nullptr, with error set, when it cannot
// be started. The office runs until end() or the program's end; a crash of the program ends
// it too. It is killed when the thread that started it ends, so it is asked for from the
// program's main thread. A holder may keep the object after the office has ended: its calls
// then fail.
std::shared_ptr<OfficeProcess> running(const CalcOptions& options, QString& error);

// Ends the offices started here and removes their profiles; the next running() starts anew.
// Runs by itself when the program's application object goes; a program that ends without
// one going has its offices killed at its exit.
void end();

} // namespace SharedOffice

} // namespace platform::calc
