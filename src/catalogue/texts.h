#pragma once

#include <QString>

namespace lumora::CatalogueText {

// Caption and record name of the search-result folder.
inline const QString SearchResult = QStringLiteral("搜索结果");
// Grey text of the empty search box.
inline const QString SearchPlaceholder = QStringLiteral("搜索关键词");
inline const QString EnterKeyword = QStringLiteral("请输入搜索关键词");
inline const QString NothingFound = QStringLiteral("没有找到相关的信息");
// Shown when play mode "1" reaches the end of the category.
inline const QString PlaylistFinished = QStringLiteral("节目列表按顺序播放完成!");

} // namespace lumora::CatalogueText
