// The control on a 200% screen: Qt scales every window by 2, as on a laptop
// whose display runs at twice the density of an ordinary one.
#include <gtest/gtest.h>

#include <QBackingStore>
#include <QCoreApplication>
#include <QImage>
#include <QPaintDevice>
#include <QSet>
#include <QWidget>
#include <cmath>

#include "control/CSonoluxCtrl.h"
#include "tests/control/mocks/FakeSoundPlayer.h"
#include "tests/control/mocks/FinishPictures.h"
#include "tests/support/TempFolder.h"

namespace {

// Before main() creates the application, which reads it once.
const bool ScaledByTwo = qputenv("QT_SCALE_FACTOR", "2");

// A sweep from silence up to half the sample rate: every frequency row of the
// spectrogram, and every time column, has a picture of its own.
std::vector<std::int16_t> Sweep(int count) {
    std::vector<std::int16_t> samples(count);
    for (int i = 0; i < count; ++i) {
        const double phase = M_PI / 2.0 * i * i / count;
        samples[i] = static_cast<std::int16_t>(std::lround(20000.0 * std::sin(phase)));
    }
    return samples;
}

// How many rows of `picture` differ from every other row.
int DistinctRows(const QImage& picture) {
    QSet<QByteArray> rows;
    for (int y = 0; y < picture.height(); ++y)
        rows.insert(QByteArray(reinterpret_cast<const char*>(picture.constScanLine(y)),
                               picture.bytesPerLine()));
    return rows.size();
}

}  // namespace

TEST(HighDensityScreen, EveryPictureIsComputedForTheDevicePixelsItCovers) {
    ASSERT_TRUE(ScaledByTwo);
    TempFolder folder;
    FakeSoundPlayer player;
    CSonoluxCtrl control{player};
    control.resize(150, 100);
    control.SetHopSize(1);
    control.SetFFTSizeChoice(8);
    control.SetFilename(QString::fromStdString(folder.WriteWave("sweep.wav", Sweep(48000))));
    control.show();
    QCoreApplication::processEvents();           // the paint that shows "Calculating..."
    ASSERT_FALSE(PictureStillPending(control));  // and the paint of the built picture
    ASSERT_EQ(control.devicePixelRatioF(), 2.0);
    ASSERT_FALSE(control.IsImageDirty());

    // 300 x 200 device pixels: about 0.9 x 300 columns of 128 bins (FFT size
    // 256, the largest whose half fits 200 rows), where 150 x 100 gives 135 x 64.
    EXPECT_EQ(control.GetControlSize(), QSize(300, 200));
    EXPECT_EQ(control.Image().BuiltGeometry().frameCount, 271);
    EXPECT_EQ(control.Image().BuiltGeometry().binCount, 128);

    // Every bin has rows of its own in the painted picture, more than a grid of
    // 64 bins blown up to 200 rows could show. (Grabbing paints the picture the
    // window built, as a screen paint does, at the window's 300 x 200 pixels.)
    const int builds = control.ImageBuildCount();
    const QImage shown = control.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(control.ImageBuildCount(), builds);
    ASSERT_EQ(shown.size(), QSize(300, 200));
    EXPECT_GT(DistinctRows(shown), 64);

    // With every sample shown, one column per device pixel of the width.
    control.SetEverySample(true);
    QCoreApplication::processEvents();
    ASSERT_FALSE(PictureStillPending(control));
    ASSERT_FALSE(control.IsImageDirty());
    EXPECT_EQ(control.Image().BuiltGeometry().frameCount, 300);
}

// "Calculating..." in a cell is copied from a face painted once for its size; a
// control too large for a face draws it in place. On the screen both show the
// text the same, pixel for pixel, around their centres.
TEST(HighDensityScreen, CalculatingCopiedIntoACellLooksAsDrawnInPlace) {
    ASSERT_TRUE(ScaledByTwo);
    FakeSoundPlayer player;
    QWidget window;
    window.resize(460, 320);
    CSonoluxCtrl cell{player, &window};
    CSonoluxCtrl large{player, &window};
    cell.setGeometry(7, 5, 120, 40);      // 240 x 80 device pixels: copied
    large.setGeometry(141, 9, 300, 300);  // 600 x 600: drawn in place
    window.show();
    QCoreApplication::processEvents();
    ASSERT_FALSE(PictureStillPending(cell));
    ASSERT_FALSE(PictureStillPending(large));
    cell.SetPowerMax(110);
    large.SetPowerMax(110);
    window.repaint();
    ASSERT_TRUE(cell.IsImageDirty() && large.IsImageDirty());  // both showing the text
    // The window's backing store, in device pixels: what the screen is given.
    const QPaintDevice* store = window.backingStore()->paintDevice();
    ASSERT_EQ(store->devType(), QInternal::Image);
    const QImage screen = *static_cast<const QImage*>(store);
    ASSERT_EQ(screen.size(), window.size() * 2);
    const auto aroundCentre = [&](const CSonoluxCtrl& control) {
        const QPoint centre = control.geometry().topLeft() + control.rect().center() + QPoint(1, 1);
        return screen.copy(QRect((centre - QPoint(55, 14)) * 2, QSize(110, 28) * 2))
            .convertToFormat(QImage::Format_RGB32);
    };
    const QImage copied = aroundCentre(cell);
    EXPECT_EQ(copied, aroundCentre(large));
    bool dark = false;  // the text itself, not two white patches
    for (int y = 0; y < copied.height() && !dark; ++y)
        for (int x = 0; x < copied.width() && !dark; ++x) dark = qGray(copied.pixel(x, y)) < 128;
    EXPECT_TRUE(dark);
    EXPECT_FALSE(PictureStillPending(cell));
    EXPECT_FALSE(PictureStillPending(large));
}
