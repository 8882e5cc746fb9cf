#include "windowrig.h"

#include "datamodule.h"

namespace lumora::test {

namespace {
constexpr int kEdition = 23;
}

WindowRig::WindowRig(UrlProbe& urlProbe) : probe(urlProbe) {
    root.write("Client/lumora-channel", "");
    root.write("Config/Source.ini", "[Info]\n");
    root.write("Client/Config/local.ini", "[Info]\n1=4\n6=777\n8=1\n11=0\n");
    config.editionCode = kEdition;
    engine.programAnswer = QStringLiteral("http://127.0.0.1:9/P2P/5.swf");
}

void WindowRig::writeCatalogue(const QByteArray& xml) {
    root.write(QStringLiteral("Client/Resource/xml/%1.xml").arg(kEdition), xml);
}

void WindowRig::writePlatformIni(const QByteArray& text) {
    root.write("Client/Config/platform.ini", text);
}

TfrmMain& WindowRig::create() {
    TDataModule1(config, root.file("Client/lumora-channel")).DataModuleCreate();
    MainWindowServices services{
        dialogs,
        windows,
        shell,
        probe,
        webPanes,
        engine,
        flash,
        media,
        volume,
        QStringLiteral("2.0.0.23"),
        [](std::int32_t, const QString&) {},
        [] {},
    };
    window = std::make_unique<TfrmMain>(config, services);
    return *window;
}

} // namespace lumora::test
