#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace lumora {

// Where a `Movie` value points: a local file or an http(s) address, and the parameters its
// query carries ("flvplayer.swf?file=0.swf" is the file flvplayer.swf with file=0.swf).
struct MovieSource {
    QUrl url;      // file: or http(s):, without the query; empty when unusable
    QString query; // the raw parameters after '?', as the movie would read them
    QUrl base;     // the folder relative loads of the movie start from
    bool remote = false;
};

MovieSource resolveMovie(const QString& movie);

// The parameters a movie starts with: the query of its address, then FlashVars.
QString movieParameters(const QString& query, const QString& flashVars);

enum class SwfState { NotSwf, Truncated, Complete };

// Tells from the header whether the bytes are a whole SWF file (plain, zlib or LZMA).
SwfState swfState(const QByteArray& bytes);

} // namespace lumora
