#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QString>

// Where the pictures go when CORVAN_PICTURES names a folder: look at them.
inline void savePicture(const QImage& image, const QString& name)
{
    const QString folder = qEnvironmentVariable("CORVAN_PICTURES");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    EXPECT_TRUE(image.save(QDir(folder).filePath(name + QStringLiteral(".png"))));
}
