// SPDX-License-Identifier: MIT
// Whole files for the tests that work in real directories: written in one call, read back in one.
#pragma once

#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace zelmo::testing {

// Writes `bytes` as the whole file at `path` (its directory must exist); returns the path.
inline QString putFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        << path.toStdString();
    return path;
}

// The whole file at `path`, or "<missing>".
inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace zelmo::testing
