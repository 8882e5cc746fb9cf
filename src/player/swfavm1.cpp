#include "swfavm1.h"

#include "swfpatch.h"

#include <QHash>
#include <QtEndian>

namespace lumora::swf {

namespace {

enum PushType : char {
    kPushString = 0,
    kPushNull = 2,
    kPushUndefined = 3,
    kPushRegister = 4,
    kPushBool = 5,
    kPushDouble = 6,
    kPushInt = 7,
    kPushConstant8 = 8,
    kPushConstant16 = 9,
};

QByteArray le16(quint16 value) {
    const char bytes[] = {char(value & 0xff), char(value >> 8)};
    return QByteArray(bytes, 2);
}

QByteArray le32(quint32 value) {
    return le16(quint16(value & 0xffff)) + le16(quint16(value >> 16));
}

QByteArray cString(const QByteArray& value) {
    return QByteArray(value).append('\0');
}

// Reads one zero-terminated string of a payload; the cursor moves past it.
QByteArray takeString(const QByteArray& payload, qsizetype& at) {
    const qsizetype zero = payload.indexOf('\0', at);
    const qsizetype end = zero < 0 ? payload.size() : zero;
    QByteArray value = payload.mid(at, end - at);
    at = end + 1;
    return value;
}

QString pushListing(const QByteArray& payload) {
    QStringList values;
    qsizetype at = 0;
    auto fits = [&](qsizetype n) { return at + n <= payload.size(); };
    while (at < payload.size()) {
        const char type = payload[at++];
        if (type == kPushString) {
            values << '"' + QString::fromUtf8(takeString(payload, at)) + '"';
        } else if (type == kPushNull) {
            values << "null";
        } else if (type == kPushUndefined) {
            values << "undefined";
        } else if ((type == kPushRegister || type == kPushBool || type == kPushConstant8) &&
                   fits(1)) {
            const int value = quint8(payload[at++]);
            values << (type == kPushRegister    ? QString("r:%1").arg(value)
                       : type == kPushConstant8 ? QString("c:%1").arg(value)
                                                : QString(value ? "true" : "false"));
        } else if (type == kPushInt && fits(4)) {
            values << QString::number(qFromLittleEndian<qint32>(payload.constData() + at));
            at += 4;
        } else if (type == kPushConstant16 && fits(2)) {
            values << QString("c:%1").arg(qFromLittleEndian<quint16>(payload.constData() + at));
            at += 2;
        } else if (type == kPushDouble && fits(8)) {
            values << "double";
            at += 8;
        } else {
            values << "?";
            break;
        }
    }
    return "Push " + values.join(", ");
}

QString functionListing(const QByteArray& payload) {
    qsizetype at = 0;
    const QByteArray name = takeString(payload, at);
    if (at + 2 > payload.size())
        return "DefineFunction ?";
    const int count = qFromLittleEndian<quint16>(payload.constData() + at);
    at += 2;
    QStringList params;
    for (int i = 0; i < count && at < payload.size(); ++i)
        params << QString::fromUtf8(takeString(payload, at));
    const int size =
        at + 2 <= payload.size() ? qFromLittleEndian<quint16>(payload.constData() + at) : -1;
    return QString("DefineFunction \"%1\" (%2) %3")
        .arg(QString::fromUtf8(name), params.join(','))
        .arg(size);
}

const QHash<int, QString>& actionNames() {
    static const QHash<int, QString> names{
        {kActionPlay, "Play"},
        {kActionStop, "Stop"},
        {kActionNot, "Not"},
        {kActionPop, "Pop"},
        {kActionCallFunction, "CallFunction"},
        {kActionNewObject, "NewObject"},
        {kActionReturn, "Return"},
        {kActionEquals2, "Equals2"},
        {kActionToNumber, "ToNumber"},
        {kActionGetVariable, "GetVariable"},
        {kActionGetMember, "GetMember"},
        {kActionSetMember, "SetMember"},
        {kActionCallMethod, "CallMethod"},
    };
    return names;
}

} // namespace

Avm1Writer& Avm1Writer::plain(int code) {
    m_bytes.append(char(code));
    return *this;
}

Avm1Writer& Avm1Writer::withPayload(int code, const QByteArray& payload) {
    if (payload.size() > 0xffff)
        throw SwfError("action payload too large");
    m_bytes.append(char(code)).append(le16(quint16(payload.size()))).append(payload);
    return *this;
}

Avm1Writer& Avm1Writer::push(char type, const QByteArray& value) {
    return withPayload(kActionPush, type + value);
}

Avm1Writer& Avm1Writer::pushString(const QByteArray& value) {
    return push(kPushString, cString(value));
}
Avm1Writer& Avm1Writer::pushInt(qint32 value) {
    return push(kPushInt, le32(quint32(value)));
}
Avm1Writer& Avm1Writer::pushBool(bool value) {
    return push(kPushBool, QByteArray(1, value ? 1 : 0));
}
Avm1Writer& Avm1Writer::pushNull() {
    return push(kPushNull, {});
}
Avm1Writer& Avm1Writer::pushUndefined() {
    return push(kPushUndefined, {});
}
Avm1Writer& Avm1Writer::pushRegister(quint8 reg) {
    return push(kPushRegister, QByteArray(1, char(reg)));
}

Avm1Writer& Avm1Writer::jump(qint16 offset) {
    return withPayload(kActionJump, le16(quint16(offset)));
}

Avm1Writer& Avm1Writer::ifTrue(qint16 offset) {
    return withPayload(kActionIf, le16(quint16(offset)));
}

Avm1Writer& Avm1Writer::defineFunction(const QByteArray& name, const QList<QByteArray>& params,
                                       const Avm1Writer& body) {
    QByteArray payload = cString(name) + le16(quint16(params.size()));
    for (const QByteArray& param : params)
        payload += cString(param);
    payload += le16(quint16(body.size()));
    withPayload(kActionDefineFunction, payload);
    m_bytes += body.bytes();
    return *this;
}

Avm1Writer& Avm1Writer::append(const Avm1Writer& other) {
    m_bytes += other.m_bytes;
    return *this;
}

qint16 Avm1Writer::size() const {
    if (m_bytes.size() > 0x7fff)
        throw SwfError("bytecode block too large for a branch");
    return qint16(m_bytes.size());
}

std::vector<Avm1Action> decodeActions(const QByteArray& code) {
    std::vector<Avm1Action> actions;
    qsizetype at = 0;
    while (at < code.size()) {
        Avm1Action action{quint8(code[at]), at, {}};
        if (action.code == kActionEnd)
            break;
        if (action.code >= 0x80) {
            if (code.size() - at < 3)
                throw SwfError("action header truncated");
            const qsizetype length = qFromLittleEndian<quint16>(code.constData() + at + 1);
            if (code.size() - at - 3 < length)
                throw SwfError("action runs past the end");
            action.payload = code.mid(at + 3, length);
        }
        at = action.end();
        actions.push_back(std::move(action));
    }
    return actions;
}

QStringList disassemble(const QByteArray& code) {
    QStringList lines;
    for (const Avm1Action& action : decodeActions(code)) {
        const QByteArray& payload = action.payload;
        if (action.code == kActionPush) {
            lines << pushListing(payload);
        } else if (action.code == kActionDefineFunction) {
            lines << functionListing(payload);
        } else if ((action.code == kActionIf || action.code == kActionJump) &&
                   payload.size() == 2) {
            lines << QString("%1 %2")
                         .arg(action.code == kActionIf ? "If" : "Jump")
                         .arg(qFromLittleEndian<qint16>(payload.constData()));
        } else {
            lines << actionNames().value(
                action.code, QString("Action 0x%1").arg(action.code, 2, 16, QChar('0')));
        }
    }
    return lines;
}

} // namespace lumora::swf
