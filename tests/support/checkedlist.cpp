#include "support/checkedlist.h"

#include <gtest/gtest.h>

namespace testsupport {

void reportMissingEntry(qsizetype index, qsizetype size, const std::source_location& where)
{
    ADD_FAILURE_AT(where.file_name(), int(where.line()))
        << "Entry " << index << " was asked for, but the list holds " << size
        << (size == 1 ? " entry" : " entries") << ": what should have put it there did not happen.";
}

} // namespace testsupport
