#pragma once

#include <QString>

namespace lumora::Caption {

inline const QString TabSheet1 = QStringLiteral("演播厅");
inline const QString QQOnline = QStringLiteral("QQ在线");
inline const QString MoreResources = QStringLiteral("更多资源");
inline const QString VersionLabel = QStringLiteral("Lumora版本:");
inline const QString ConfirmExit = QStringLiteral("您确定退出吗?");
inline const QString LoadingStatus = QStringLiteral("正在缓冲,请稍等");
inline const QString InitialTime = QStringLiteral("00:00/00:00");
inline const QString FullProductProgram = QStringLiteral("lumora.exe");
inline const QString FullProductCaption = QStringLiteral("Lumora");

QString recommendText();        // lblWeb
QString moreResourcesMissing(); // sbtnMoreClick without the full product

} // namespace lumora::Caption
