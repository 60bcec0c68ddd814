#pragma once
// A connection of the test's own to the program's private office, to see what the product's
// interface does not show: how many workbooks the office holds, and what a cell of a stored
// workbook is (a number or a text, its format) besides the text it shows.

#include "officewatch.h"

#include "platform/calc/unoruntime.h"
#include "platform/calc/unostrings.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XTableRows.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/uno/RuntimeException.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>

#include <optional>
#include <unistd.h>

// The desktop of the office that accepts connections on the pipe. The office now and then
// drops a new connection while it is being made, the more often the busier the machine, and
// may do so several times in a row: as the program does when it connects, the connection is
// made again after a moment until one holds. Any other failure (no office on the pipe) is
// thrown at once.
inline css::uno::Reference<css::frame::XDesktop2> officeDesktop(const QString& pipe)
{
    using namespace css;
    QString error;
    const uno::Reference<uno::XComponentContext> local = platform::calc::UnoRuntime::context(error);
    if (!local.is())
        throw uno::RuntimeException(platform::calc::toOUString(error));
    const rtl::OUString url =
        platform::calc::toOUString(QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipe));
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        try {
            const uno::Reference<uno::XComponentContext> remote(bridge::UnoUrlResolver::create(local)->resolve(url),
                                                                uno::UNO_QUERY_THROW);
            return frame::Desktop::create(remote);
        } catch (const lang::DisposedException&) {
            // Only an office that drops every connection for a minute is given up on.
            if (clock.elapsed() > 60000)
                throw;
        }
        QThread::msleep(50);
    }
}

class OfficeProbe {
public:
    struct Cell {
        bool isNumber = false;
        double value = 0;
        QString shown;
        QString format; // the format code, "General" for none of its own
        int rowHeight = 0; // of the cell's row, in hundredths of a millimetre
    };

    // The headless office this test process started; false when there is none.
    bool connect()
    {
        try {
            return tryConnect();
        } catch (const css::uno::Exception& e) {
            ADD_FAILURE() << "no connection to the office: " << platform::calc::toQString(e.Message).toStdString();
            return false;
        }
    }

    int openDocuments()
    {
        try {
            const auto it = desktop_->getComponents()->createEnumeration();
            int count = 0;
            for (; it->hasMoreElements(); it->nextElement())
                ++count;
            return count;
        } catch (const css::uno::Exception& e) {
            ADD_FAILURE() << "the office's workbooks cannot be counted: " << platform::calc::toQString(e.Message).toStdString();
            return -1;
        }
    }

    // A cell of a workbook file's first sheet; an empty one, after a failure, when it cannot
    // be read.
    Cell cell(const QString& workbook, const char* address)
    {
        try {
            if (const std::optional<Cell> found = tryCell(workbook, address))
                return *found;
            ADD_FAILURE() << workbook.toStdString() << " does not open";
        } catch (const css::uno::Exception& e) {
            ADD_FAILURE() << address << " of " << workbook.toStdString()
                          << " cannot be read: " << platform::calc::toQString(e.Message).toStdString();
        }
        return Cell();
    }

private:
    bool tryConnect()
    {
        using namespace css;
        for (pid_t pid : officePidsStartedBy(::getpid())) {
            QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
            if (!cmdline.open(QIODevice::ReadOnly))
                continue;
            const QByteArray args = cmdline.readAll().replace('\0', ' ');
            static const QRegularExpression pipe(QStringLiteral("pipe,name=([^;]+);"));
            const QRegularExpressionMatch m = pipe.match(QString::fromLocal8Bit(args));
            if (!args.contains("--headless") || !m.hasMatch())
                continue;
            desktop_ = officeDesktop(m.captured(1));
            return true;
        }
        return false;
    }

    std::optional<Cell> tryCell(const QString& workbook, const char* address)
    {
        using namespace css;
        css::beans::PropertyValue hidden;
        hidden.Name = "Hidden";
        hidden.Value <<= true;
        const uno::Reference<lang::XComponent> doc =
            uno::Reference<frame::XComponentLoader>(desktop_, uno::UNO_QUERY_THROW)
                ->loadComponentFromURL(platform::calc::toOUString(QUrl::fromLocalFile(QFileInfo(workbook).absoluteFilePath()).toString()),
                                       "_blank", 0, uno::Sequence<beans::PropertyValue>(&hidden, 1));
        if (!doc.is())
            return std::nullopt;
        Cell result;
        const uno::Reference<container::XIndexAccess> sheets(
            uno::Reference<sheet::XSpreadsheetDocument>(doc, uno::UNO_QUERY_THROW)->getSheets(), uno::UNO_QUERY_THROW);
        const uno::Reference<table::XCellRange> sheet(sheets->getByIndex(0), uno::UNO_QUERY_THROW);
        const uno::Reference<table::XCell> cell =
            sheet->getCellRangeByName(rtl::OUString::createFromAscii(address))->getCellByPosition(0, 0);
        result.isNumber = cell->getType() == table::CellContentType_VALUE;
        result.value = cell->getValue();
        result.shown = platform::calc::toQString(uno::Reference<text::XText>(cell, uno::UNO_QUERY_THROW)->getString());
        sal_Int32 key = 0;
        uno::Reference<beans::XPropertySet>(cell, uno::UNO_QUERY_THROW)->getPropertyValue("NumberFormat") >>= key;
        rtl::OUString code;
        uno::Reference<util::XNumberFormatsSupplier>(doc, uno::UNO_QUERY_THROW)
            ->getNumberFormats()
            ->getByKey(key)
            ->getPropertyValue("FormatString") >>= code;
        result.format = platform::calc::toQString(code);
        const uno::Reference<table::XColumnRowRange> rows(
            sheet->getCellRangeByName(rtl::OUString::createFromAscii(address)), uno::UNO_QUERY_THROW);
        uno::Reference<beans::XPropertySet>(rows->getRows()->getByIndex(0), uno::UNO_QUERY_THROW)->getPropertyValue("Height")
            >>= result.rowHeight;
        uno::Reference<util::XCloseable>(doc, uno::UNO_QUERY_THROW)->close(true);
        return result;
    }

    css::uno::Reference<css::frame::XDesktop2> desktop_;
};
