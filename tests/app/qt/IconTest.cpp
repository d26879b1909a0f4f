#include <QFile>
#include <QIcon>
#include <QtEndian>

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {
// (width, height, bits per pixel) of every image in an .ico file, read from its directory and
// each image's own bitmap header.
std::vector<std::tuple<int, int, int>> IconImages(const QByteArray& ico)
{
    const auto* bytes = reinterpret_cast<const uchar*>(ico.constData());
    std::vector<std::tuple<int, int, int>> images;
    if (ico.size() < 6 || qFromLittleEndian<quint16>(bytes + 2) != 1)
        return images;
    const int count = qFromLittleEndian<quint16>(bytes + 4);
    for (int i = 0; i < count; ++i) {
        const uchar* entry = bytes + 6 + 16 * i;
        const quint32 size = qFromLittleEndian<quint32>(entry + 8);
        const quint32 offset = qFromLittleEndian<quint32>(entry + 12);
        EXPECT_LE(offset + size, static_cast<quint32>(ico.size()));
        const uchar* bitmap = bytes + offset;
        EXPECT_EQ(qFromLittleEndian<quint32>(bitmap), 40u) << "a bitmap header";
        const int width = qFromLittleEndian<qint32>(bitmap + 4);
        // The height counts the colour image and the transparency mask below it.
        EXPECT_EQ(qFromLittleEndian<qint32>(bitmap + 8), 2 * entry[1]);
        const int bits = qFromLittleEndian<quint16>(bitmap + 14);
        EXPECT_EQ(width, entry[0]);
        EXPECT_EQ(qFromLittleEndian<quint16>(entry + 6), bits);
        const int rowBytes = (width * bits + 31) / 32 * 4;
        const int maskRowBytes = (width + 31) / 32 * 4;
        EXPECT_EQ(size,
                  40u + 4u * (1u << bits) +
                      static_cast<quint32>(width) * static_cast<quint32>(rowBytes + maskRowBytes))
            << "palette, image and mask";
        images.emplace_back(width, entry[1], bits);
    }
    return images;
}
} // namespace

TEST(IconTest, HoldsExactlyTheThreeClassicImagesWithMasks)
{
    QFile file(QStringLiteral(":/flagwright.ico"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(IconImages(file.readAll()),
              (std::vector<std::tuple<int, int, int>>{{32, 32, 1}, {32, 32, 4}, {16, 16, 4}}));
}

TEST(IconTest, LoadsAsTheWindowIcon)
{
    const QIcon icon(QStringLiteral(":/flagwright.ico"));
    EXPECT_FALSE(icon.pixmap(32, 32).isNull());
    EXPECT_FALSE(icon.pixmap(16, 16).isNull());
}
