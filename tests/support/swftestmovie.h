#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>
#include <vector>

namespace lumora::test {

// One tag of a movie written out by hand; long forces the 6-byte header.
QByteArray swfTag(int code, const QByteArray& body = {}, bool longForm = false);

// A 160 x 120 movie at 12 frames a second made of the given tags (End is appended).
QByteArray swfMovie(int version, bool compressed, quint16 frames, const QList<QByteArray>& tags);

// The LZMA ("ZWS") twin of an FWS or CWS movie; empty when liblzma fails.
QByteArray swfLzma(const QByteArray& file);

// The main-timeline tags of a movie as (code, body), End included.
std::vector<std::pair<int, QByteArray>> swfTags(const QByteArray& file);

// A sample movie from the shared test data; empty when it is not there.
QByteArray swfSample(const QString& name);
QString swfSampleDir();

} // namespace lumora::test
