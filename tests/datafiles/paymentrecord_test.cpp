#include "datafiles/paymentrecord.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>

using namespace datafiles;

TEST(PaymentRecord, ThePaymentValueKeepsBalanceAndTotalPaidCurrent)
{
    PaymentRecord p;
    p.TransactionValue.Caption = "500";
    p.AmountPaid.Caption = "150";
    p.Balance = {"350", "350"};
    p.setPaymentValueText("120");
    EXPECT_EQ(p.Balance, (PaymentLabel{"230", "350"}));
    EXPECT_EQ(p.AmountPaid.ToolTipText, "270");

    p.setPaymentValueText("0.1");
    EXPECT_EQ(p.Balance.Caption, "349.9");

    // A number that does not read skips what needs it: both on an empty value, the
    // balance alone on an unreadable total.
    p.setPaymentValueText("");
    EXPECT_EQ(p.Balance.Caption, "349.9");
    EXPECT_EQ(p.AmountPaid.ToolTipText, "150.1");
    p.TransactionValue.Caption = "x";
    p.setPaymentValueText("10");
    EXPECT_EQ(p.Balance.Caption, "349.9");
    EXPECT_EQ(p.AmountPaid.ToolTipText, "160");
}

TEST(PaymentRecord, ClearAllKeepsWhatTheWindowKeeps)
{
    PaymentRecord p;
    p.FromMyCompany = {"Firma", 1, "tip"};
    p.ToMyCompany = {"Firma", 1, "tip"};
    p.TransactionNumber = {"21", "21"};
    p.AmountPaid = {"50", "150"};
    p.PaymentDate = {"10.12.2026", "Click to Refresh "};
    p.lblChangeStatus = {"1", "/t/21.QVTH"};
    p.tocompanyiselected = {"3", "3"};
    p.Note = {"note", "note tip"};
    p.setPaymentValueText("100");
    p.setPaymentValueToolTipText("value tip");
    p.CLEARALL();

    EXPECT_EQ(p.FromMyCompany, (PaymentCheckBox{"Firma", 0, "tip"}));
    EXPECT_EQ(p.ToMyCompany, (PaymentCheckBox{"Firma", 0, "tip"}));
    EXPECT_EQ(p.TransactionNumber, PaymentLabel{});
    EXPECT_EQ(p.AmountPaid, PaymentLabel{});
    EXPECT_EQ(p.PaymentDate, (PaymentLabel{"", "Click to Refresh "}));
    EXPECT_EQ(p.lblChangeStatus, (PaymentLabel{"1", "/t/21.QVTH"}));
    EXPECT_EQ(p.tocompanyiselected, PaymentLabel{});
    EXPECT_EQ(p.Note, (PaymentTextBox{"", "note tip"}));
    EXPECT_EQ(p.PaymentValue(), PaymentTextBox{});
}
