#include "harness.h"

#include "datamodule.h"
#include "inistore.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace lumora::test {

QByteArray sampleCatalogue() {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<list>
  <item type="0" id="1" pid="" name="声母"/>
  <item type="1" id="11" pid="1" name="b 的发音"/>
  <item type="4" id="12" pid="1" name="p 的发音"/>
  <item type="0" id="2" pid="" name="韵母"/>
  <item type="2" id="21" pid="2" name="a 的儿歌"/>
  <item type="0" id="3" pid="2" name="复韵母"/>
  <item type="1" id="31" pid="3" name="ai"/>
</list>
)";
}

void click(TfrmMain& w, int index) {
    ASSERT_TRUE(w.selectNode(index));
    w.tv1Click();
}

void clickOn(QWidget& part, const char* control) {
    QWidget* target = part.findChild<QWidget*>(QString::fromLatin1(control));
    if (!target)
        throw std::logic_error(std::string("no control ") + control);
    const QPointF at(2, 2);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
}

namespace {

void install(Harness& h) {
    h.root.write("Client/lumora-channel", "");
    h.root.write("Config/Source.ini", "[Info]\n");
    h.writeCatalogue(23, sampleCatalogue());
    h.writeLocalIni("[Info]\n1=4\n6=777\n8=1\n11=0\n");
    h.writePlatformIni("[Info]\n1=http://site.test\n14=http://site.test/ad/StatusBar.html\n"
                       "15=http://site.test/ad/ChannelAds.html\n");
    h.config.editionCode = 23;
    // The engine takes every programme that is neither cached nor downloaded.
    h.engine.programAnswer = QStringLiteral("http://127.0.0.1:9/P2P/5.swf");
}

} // namespace

Harness::Harness() {
    install(*this);
}

Harness::Harness(AsyncUrlProbe& given) : siteProbe(given) {
    install(*this);
}

void Harness::writeCatalogue(int channel, const QByteArray& xml) {
    root.write(QStringLiteral("Client/Resource/xml/%1.xml").arg(channel), xml);
}

void Harness::writeLocalIni(const QByteArray& text) {
    root.write("Client/Config/local.ini", text);
}

void Harness::writePlatformIni(const QByteArray& text) {
    root.write("Client/Config/platform.ini", text);
}

TfrmMain& Harness::create() {
    TDataModule1(config, root.file("Client/lumora-channel")).DataModuleCreate();
    MainWindowServices services{
        dialogs,
        windows,
        shell,
        siteProbe,
        webPanes,
        engine,
        flash,
        media,
        volume,
        QStringLiteral("2.0.0.23"),
        [this](std::int32_t code, const QString& url) {
            log.push_back("login " + std::to_string(code) + " " + url.toStdString());
        },
        [this] { ++terminated; },
        catalogue,
    };
    window = std::make_unique<TfrmMain>(config, services);
    QObject::connect(window.get(), &TfrmMain::programmeStarted, [this] {
        played.push_back(window->curPlay());
        if (onPlay)
            onPlay();
    });
    return *window;
}

FakeWebPane& Harness::pane(const char* objectName) {
    for (FakeWebPane* p : webPanes.panes())
        if (p->widget()->objectName() == QLatin1String(objectName))
            return *p;
    throw std::runtime_error(std::string("no pane ") + objectName);
}

QString Harness::iniValue(const QString& key) const {
    return readIniValue(config.localIniPath, QStringLiteral("Info"), key).value();
}

} // namespace lumora::test
