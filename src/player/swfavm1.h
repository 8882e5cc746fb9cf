#pragma once

#include <QByteArray>
#include <QStringList>

#include <vector>

namespace lumora::swf {

enum ActionCode : int {
    kActionEnd = 0x00,
    kActionPlay = 0x06,
    kActionStop = 0x07,
    kActionNot = 0x12,
    kActionPop = 0x17,
    kActionCallFunction = 0x3d,
    kActionNewObject = 0x40,
    kActionReturn = 0x3e,
    kActionEquals2 = 0x49,
    kActionToNumber = 0x4a,
    kActionGetVariable = 0x1c,
    kActionGetMember = 0x4e,
    kActionSetMember = 0x4f,
    kActionCallMethod = 0x52,
    kActionGotoFrame = 0x81,
    kActionGotoLabel = 0x8c,
    kActionPush = 0x96,
    kActionJump = 0x99,
    kActionDefineFunction = 0x9b,
    kActionIf = 0x9d,
    kActionGotoFrame2 = 0x9f,
    kActionDefineFunction2 = 0x8e,
};

// Builds AVM1 bytecode, one method per action. Each push carries a single value.
class Avm1Writer {
public:
    Avm1Writer& pushString(const QByteArray& value);
    Avm1Writer& pushInt(qint32 value);
    Avm1Writer& pushBool(bool value);
    Avm1Writer& pushNull();
    Avm1Writer& pushUndefined();
    Avm1Writer& pushRegister(quint8 reg);

    Avm1Writer& getVariable() { return plain(kActionGetVariable); }
    Avm1Writer& getMember() { return plain(kActionGetMember); }
    Avm1Writer& setMember() { return plain(kActionSetMember); }
    Avm1Writer& callFunction() { return plain(kActionCallFunction); }
    Avm1Writer& callMethod() { return plain(kActionCallMethod); }
    Avm1Writer& newObject() { return plain(kActionNewObject); }
    Avm1Writer& returnValue() { return plain(kActionReturn); }
    Avm1Writer& pop() { return plain(kActionPop); }
    Avm1Writer& logicalNot() { return plain(kActionNot); }
    Avm1Writer& equals() { return plain(kActionEquals2); }
    Avm1Writer& toNumber() { return plain(kActionToNumber); }
    Avm1Writer& play() { return plain(kActionPlay); }
    Avm1Writer& stop() { return plain(kActionStop); }

    // Branches count bytes from the end of the branch action.
    Avm1Writer& jump(qint16 offset);
    Avm1Writer& ifTrue(qint16 offset);
    // Pushes the function (an anonymous one when name is empty) defined by body.
    Avm1Writer& defineFunction(const QByteArray& name, const QList<QByteArray>& params,
                               const Avm1Writer& body);
    Avm1Writer& append(const Avm1Writer& other);

    const QByteArray& bytes() const { return m_bytes; }
    qint16 size() const;
    // The bytecode closed by End: the body of a DoAction tag.
    QByteArray program() const { return m_bytes + char(kActionEnd); }

private:
    Avm1Writer& plain(int code);
    Avm1Writer& withPayload(int code, const QByteArray& payload);
    Avm1Writer& push(char type, const QByteArray& value);

    QByteArray m_bytes;
};

struct Avm1Action {
    int code;
    qsizetype offset;   // of the action code
    QByteArray payload; // empty for actions below 0x80
    qsizetype end() const { return offset + (code >= 0x80 ? 3 : 1) + payload.size(); }
};

// Splits bytecode into actions in file order (function bodies follow their definition); stops
// at End. Throws SwfError when an action runs past the end.
std::vector<Avm1Action> decodeActions(const QByteArray& code);

// A readable listing, one action a line, e.g. `Push "_root"`, `If 12`, `DefineFunction "" (n) 9`.
QStringList disassemble(const QByteArray& code);

} // namespace lumora::swf
