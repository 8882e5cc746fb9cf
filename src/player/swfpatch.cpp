#include "swfpatch.h"

#include "swfavm1.h"
#include "swffile.h"

#include <QSet>

#include <algorithm>
#include <vector>

namespace lumora {

using namespace swf;

namespace {

const QByteArray kRoot = "_root";
const QByteArray kPlayingFlag = "lumoraPlaying"; // on _root; undefined until set up
const QByteArray kFrameArg = "n";
const QByteArray kPlayArg = "p";
// Movies before this version see neither the `flash` package nor addCallback; clearing the
// version bits of ASSetPropFlags shows them.
constexpr int kFlashPackageVersion = 8;
constexpr qint32 kVersionHidingFlags = 0x7f80;
constexpr quint8 kGotoFrame2Play = 0x01;

// Tags that belong ahead of any frame content, so the set-up script goes after them.
const QSet<int> kLeadingTags{kTagFileAttributes, kTagMetadata,       kTagSetBackgroundColor,
                             kTagScriptLimits,   kTagEnableDebugger, kTagEnableDebugger2,
                             kTagProductInfo,    kTagDebugId,        kTagProtect};

Avm1Writer rootMember(const QByteArray& name) {
    return Avm1Writer().pushString(kRoot).getVariable().pushString(name).getMember();
}

Avm1Writer setPlaying(bool playing) {
    return Avm1Writer()
        .pushString(kRoot)
        .getVariable()
        .pushString(kPlayingFlag)
        .pushBool(playing)
        .setMember();
}

// _root.method(...) with its argCount arguments already pushed, last first; result dropped.
Avm1Writer callRoot(const QByteArray& method, int argCount) {
    return Avm1Writer()
        .pushInt(argCount)
        .pushString(kRoot)
        .getVariable()
        .pushString(method)
        .callMethod()
        .pop();
}

Avm1Writer gotoBody() {
    const Avm1Writer frame = Avm1Writer().pushString(kFrameArg).getVariable().toNumber();
    const Avm1Writer playing =
        Avm1Writer().append(setPlaying(true)).append(frame).append(callRoot("gotoAndPlay", 1));
    const Avm1Writer held =
        Avm1Writer().append(setPlaying(false)).append(frame).append(callRoot("gotoAndStop", 1));
    const Avm1Writer skipHeld = Avm1Writer().jump(held.size());
    return Avm1Writer()
        .pushString(kPlayArg)
        .getVariable()
        .logicalNot()
        .ifTrue(qint16(playing.size() + skipHeld.size()))
        .append(playing)
        .append(skipHeld)
        .append(held);
}

Avm1Writer externalInterface() {
    return Avm1Writer()
        .pushString("flash")
        .getVariable()
        .pushString("external")
        .getMember()
        .pushString("ExternalInterface")
        .getMember();
}

// ASSetPropFlags(object, name, 0, version bits): lets movies of any version see the name.
Avm1Writer unhide(const Avm1Writer& object, const QByteArray& name) {
    return Avm1Writer()
        .pushInt(kVersionHidingFlags)
        .pushInt(0)
        .pushString(name)
        .append(object)
        .pushInt(4)
        .pushString("ASSetPropFlags")
        .callFunction()
        .pop();
}

Avm1Writer registerCallback(const char* name, const QList<QByteArray>& params,
                            const Avm1Writer& body) {
    return Avm1Writer()
        .defineFunction({}, params, body)
        .pushNull()
        .pushString(name)
        .pushInt(3)
        .append(externalInterface())
        .pushString("addCallback")
        .callMethod()
        .pop();
}

QByteArray setUpProgram(int version) {
    Avm1Writer setUp;
    if (version < kFlashPackageVersion) {
        setUp.append(unhide(Avm1Writer().pushString("_global").getVariable(), "flash"))
            .append(unhide(externalInterface(), "addCallback"));
    }
    setUp.append(setPlaying(true))
        .append(registerCallback(kSwfCallbackFrame, {}, rootMember("_currentframe").returnValue()))
        .append(registerCallback(kSwfCallbackTotal, {}, rootMember("_totalframes").returnValue()))
        .append(registerCallback(kSwfCallbackGoto, {kFrameArg, kPlayArg}, gotoBody()))
        .append(registerCallback(kSwfCallbackPlay, {},
                                 Avm1Writer().append(setPlaying(true)).append(callRoot("play", 0))))
        .append(
            registerCallback(kSwfCallbackStop, {},
                             Avm1Writer().append(setPlaying(false)).append(callRoot("stop", 0))))
        .append(
            registerCallback(kSwfCallbackIsPlaying, {}, rootMember(kPlayingFlag).returnValue()));
    // Frame 1 runs again on every loop and goto; only the first run sets things up.
    return Avm1Writer()
        .append(rootMember(kPlayingFlag))
        .pushUndefined()
        .equals()
        .logicalNot()
        .ifTrue(setUp.size())
        .append(setUp)
        .program();
}

// Whether a frame script leaves the timeline playing or stopped, when it says so plainly:
// nullopt when it does not touch the play state or branches (a condition may decide).
std::optional<bool> playStateAfter(const QByteArray& code) {
    std::vector<Avm1Action> actions;
    try {
        actions = decodeActions(code);
    } catch (const SwfError&) {
        return std::nullopt;
    }
    std::optional<bool> state;
    qsizetype functionEnd = 0;
    for (const Avm1Action& action : actions) {
        if (action.offset < functionEnd)
            continue; // a function body runs when called, not now
        const QByteArray& payload = action.payload;
        switch (action.code) {
        case kActionDefineFunction:
        case kActionDefineFunction2:
            if (payload.size() < 2)
                return std::nullopt;
            functionEnd = action.end() + (quint8(payload[payload.size() - 2]) |
                                          quint8(payload[payload.size() - 1]) << 8);
            break;
        case kActionIf:
        case kActionJump:
            return std::nullopt;
        case kActionStop:
            state = false;
            break;
        case kActionPlay:
            state = true;
            break;
        case kActionGotoFrame2:
            if (!payload.isEmpty())
                state = (quint8(payload[0]) & kGotoFrame2Play) != 0;
            break;
        default:
            break;
        }
    }
    return state;
}

struct Insertion {
    qsizetype offset;
    QByteArray bytes;
};

std::vector<Insertion> planInsertions(const SwfMovie& movie, const SwfPatchOptions& options) {
    std::vector<Insertion> insertions;
    qsizetype setUpAt = -1;
    qsizetype lastShowFrame = -1;
    qsizetype endAt = movie.data.size();
    int showFrames = 0;
    walkTags(movie.data, movie.tagsOffset, [&](const SwfTag& tag) {
        if (setUpAt < 0 && !kLeadingTags.contains(tag.code))
            setUpAt = tag.offset;
        if (tag.code == kTagShowFrame) {
            lastShowFrame = tag.offset;
            ++showFrames;
        }
        if (tag.code == kTagEnd)
            endAt = tag.offset;
        if (tag.code == kTagDoAction) {
            const auto state =
                playStateAfter(movie.data.mid(tag.offset + tag.headerSize, tag.length));
            if (state)
                insertions.push_back(
                    {tag.end(), makeTag(kTagDoAction, setPlaying(*state).program())});
        }
        return true;
    });
    insertions.insert(
        insertions.begin(),
        {setUpAt < 0 ? endAt : setUpAt, makeTag(kTagDoAction, setUpProgram(movie.info.version))});
    if (options.loop)
        return insertions;

    const QByteArray hold =
        makeTag(kTagDoAction, Avm1Writer().append(setPlaying(false)).stop().program());
    const QByteArray showFrame = makeTag(kTagShowFrame, {});
    const int missingFrames = movie.info.frameCount - showFrames;
    if (missingFrames > 0) {
        // The header promises frames the tags lack; supply them empty, so that the movie can
        // reach the frame count it reports and hold there.
        insertions.push_back({endAt, showFrame.repeated(missingFrames - 1) + hold + showFrame});
    } else if (lastShowFrame >= 0) {
        insertions.push_back({lastShowFrame, hold});
    }
    return insertions;
}

} // namespace

std::optional<SwfInfo> readSwfInfo(const QByteArray& swf) {
    try {
        return decodeMovie(swf).info;
    } catch (const SwfError&) {
        return std::nullopt;
    }
}

QByteArray instrumentMovie(const QByteArray& swf, const SwfPatchOptions& options) {
    const SwfMovie movie = decodeMovie(swf);
    if (movie.info.avm2)
        return swf;

    std::vector<Insertion> insertions = planInsertions(movie, options);
    std::stable_sort(insertions.begin(), insertions.end(),
                     [](const Insertion& a, const Insertion& b) { return a.offset < b.offset; });

    QByteArray out;
    out.reserve(movie.data.size() + 2048);
    qsizetype copied = 0;
    for (const Insertion& insertion : insertions) {
        out += movie.data.mid(copied, insertion.offset - copied);
        out += insertion.bytes;
        copied = insertion.offset;
    }
    out += movie.data.mid(copied);
    return encodeMovie(out, movie.info.compressed);
}

} // namespace lumora
