#include "DialogTest.h"

#include "app/CCompressionDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

void DialogTest::compressionDialogKeepsAndReturnsTheChoice()
{
    CCompressionOptions given;
    given.codec = CCompressionOptions::kMotionJpeg;
    given.quality = 75;
    CCompressionDialog dialog(given);
    auto* codec = dialog.findChild<QComboBox*>(QStringLiteral("codec"));
    auto* quality = dialog.findChild<QSpinBox*>(QStringLiteral("quality"));
    QVERIFY(codec && quality);
    QCOMPARE(dialog.GetOptions().codec, int(CCompressionOptions::kMotionJpeg));
    QCOMPARE(dialog.GetOptions().quality, 75);
    QVERIFY(quality->isEnabled());
    // Full frames have no quality to set.
    codec->setCurrentIndex(0);
    QVERIFY(!quality->isEnabled());
    QCOMPARE(dialog.GetOptions().codec, int(CCompressionOptions::kUncompressed));
    codec->setCurrentIndex(1);
    quality->setValue(30);
    QCOMPARE(dialog.GetOptions().quality, 30);

    QStringList buttons;
    for (QPushButton* button : dialog.findChild<QDialogButtonBox*>()->findChildren<QPushButton*>())
        buttons << button->text();
    buttons.sort();
    QStringList expected{QStringLiteral("确定"), QStringLiteral("取消")};
    expected.sort();
    QCOMPARE(buttons, expected);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void DialogTest::compressionDialogCancel()
{
    CCompressionOptions given;
    given.quality = 500; // out of range: clamped
    CCompressionDialog dialog(given);
    QCOMPARE(dialog.GetOptions().quality, 100);
    QCOMPARE(dialog.GetOptions().codec, int(CCompressionOptions::kUncompressed));
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}
