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
const QByteArray kPlayingFlag = "lumoraPlaying"; // on the content's root; undefined until set up
const QByteArray kFrameArg = "n";
const QByteArray kPlayArg = "p";
// The shell's own names, on its root: the clip the content is loaded into, its loader, and
// whether the content has arrived.
const QByteArray kContentClip = "lumoraContent";
const QByteArray kContentLoader = "lumoraLoader";
const QByteArray kContentLoaded = "lumoraLoaded";
constexpr qint32 kContentDepth = 1;
// Ruffle offers ExternalInterface to ActionScript 1/2 from this version on; older movies
// are loaded by a shell of this version, which keeps their own rules for their code.
constexpr int kExternalInterfaceVersion = 8;
constexpr quint8 kGotoFrame2Play = 0x01;

// Tags that belong ahead of any frame content, so the set-up script goes after them.
const QSet<int> kLeadingTags{kTagFileAttributes, kTagMetadata,       kTagSetBackgroundColor,
                             kTagScriptLimits,   kTagEnableDebugger, kTagEnableDebugger2,
                             kTagProductInfo,    kTagDebugId,        kTagProtect};

Avm1Writer member(const Avm1Writer& object, const QByteArray& name) {
    return Avm1Writer().append(object).pushString(name).getMember();
}

Avm1Writer root() {
    return Avm1Writer().pushString(kRoot).getVariable();
}

// The timeline the callbacks drive: the movie's own root, or the shell's content clip.
Avm1Writer timeline(bool shell) {
    return shell ? member(root(), kContentClip) : root();
}

Avm1Writer setMember(const Avm1Writer& object, const QByteArray& name, bool value) {
    return Avm1Writer().append(object).pushString(name).pushBool(value).setMember();
}

Avm1Writer setPlaying(const Avm1Writer& target, bool playing) {
    return setMember(target, kPlayingFlag, playing);
}

// target.method(...) with its argCount arguments already pushed, last first; result dropped.
Avm1Writer callOn(const Avm1Writer& target, const QByteArray& method, int argCount) {
    return Avm1Writer().pushInt(argCount).append(target).pushString(method).callMethod().pop();
}

Avm1Writer gotoBody(const Avm1Writer& target) {
    const Avm1Writer frame = Avm1Writer().pushString(kFrameArg).getVariable().toNumber();
    const Avm1Writer playing = Avm1Writer()
                                   .append(setPlaying(target, true))
                                   .append(frame)
                                   .append(callOn(target, "gotoAndPlay", 1));
    const Avm1Writer held = Avm1Writer()
                                .append(setPlaying(target, false))
                                .append(frame)
                                .append(callOn(target, "gotoAndStop", 1));
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

// `cond ? then : otherwise`, each branch ending in Return.
Avm1Writer returnEither(const Avm1Writer& cond, const Avm1Writer& then,
                        const Avm1Writer& otherwise) {
    const Avm1Writer elseBranch = Avm1Writer().append(otherwise).returnValue();
    return Avm1Writer()
        .append(cond)
        .ifTrue(elseBranch.size())
        .append(elseBranch)
        .append(then)
        .returnValue();
}

Avm1Writer callbacks(bool shell) {
    const Avm1Writer target = timeline(shell);
    const Avm1Writer total = member(target, "_totalframes");
    // A shell's clip counts one frame until the content is in; the host keeps the header's
    // count meanwhile.
    const Avm1Writer totalBody =
        shell ? returnEither(member(root(), kContentLoaded), total, Avm1Writer().pushInt(0))
              : Avm1Writer().append(total).returnValue();
    // Playing unless a stop was seen: the flag is undefined until the movie's own scripts or
    // these callbacks set it.
    const Avm1Writer playingBody = Avm1Writer()
                                       .append(member(target, kPlayingFlag))
                                       .pushBool(false)
                                       .equals()
                                       .logicalNot()
                                       .returnValue();
    return Avm1Writer()
        .append(
            registerCallback(kSwfCallbackFrame, {}, member(target, "_currentframe").returnValue()))
        .append(registerCallback(kSwfCallbackTotal, {}, totalBody))
        .append(registerCallback(kSwfCallbackGoto, {kFrameArg, kPlayArg}, gotoBody(target)))
        .append(registerCallback(
            kSwfCallbackPlay, {},
            Avm1Writer().append(setPlaying(target, true)).append(callOn(target, "play", 0))))
        .append(registerCallback(
            kSwfCallbackStop, {},
            Avm1Writer().append(setPlaying(target, false)).append(callOn(target, "stop", 0))))
        .append(registerCallback(kSwfCallbackIsPlaying, {}, playingBody));
}

QByteArray setUpProgram() {
    const Avm1Writer setUp = Avm1Writer().append(setPlaying(root(), true)).append(callbacks(false));
    // Frame 1 runs again on every loop and goto; only the first run sets things up.
    return Avm1Writer()
        .append(member(root(), kPlayingFlag))
        .pushUndefined()
        .equals()
        .logicalNot()
        .ifTrue(setUp.size())
        .append(setUp)
        .program();
}

// The shell's only frame: a clip with _lockroot set (the content's _root stays its own), a
// MovieClipLoader that fills it from the address in the shell's parameters, the callbacks on
// that clip, and a stop, so that this never runs twice.
QByteArray shellProgram() {
    const Avm1Writer clip = timeline(true);
    const Avm1Writer onLoaded = setMember(root(), kContentLoaded, true);
    return Avm1Writer()
        .pushInt(kContentDepth)
        .pushString(kContentClip)
        .append(callOn(root(), "createEmptyMovieClip", 2))
        .append(setMember(clip, "_lockroot", true))
        .append(root())
        .pushString(kContentLoader)
        .pushInt(0)
        .pushString("MovieClipLoader")
        .newObject()
        .setMember()
        .append(member(root(), kContentLoader))
        .pushString("onLoadInit")
        .defineFunction({}, {}, onLoaded)
        .setMember()
        .append(clip)
        .append(member(root(), kShellMovieParameter))
        .append(callOn(member(root(), kContentLoader), "loadClip", 2))
        .append(callbacks(true))
        .stop()
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

// The scripts added to a movie: the set-up (unless a shell does it), the play-state tracking and,
// without loop, the hold on the last frame.
std::vector<Insertion> planInsertions(const SwfMovie& movie, const SwfPatchOptions& options,
                                      bool withSetUp) {
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
                    {tag.end(), makeTag(kTagDoAction, setPlaying(root(), *state).program())});
        }
        return true;
    });
    if (withSetUp)
        insertions.insert(insertions.begin(),
                          {setUpAt < 0 ? endAt : setUpAt, makeTag(kTagDoAction, setUpProgram())});
    if (options.loop)
        return insertions;

    const QByteArray hold =
        makeTag(kTagDoAction, Avm1Writer().append(setPlaying(root(), false)).stop().program());
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

namespace {

QByteArray insertScripts(const SwfMovie& movie, const SwfPatchOptions& options, bool withSetUp) {
    std::vector<Insertion> insertions = planInsertions(movie, options, withSetUp);
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

// The content's stage rectangle, frame rate and frame count, as a header block.
QByteArray stageBlock(const SwfMovie& movie) {
    return movie.data.mid(kFileHeaderSize, movie.tagsOffset - kFileHeaderSize);
}

QByteArray backgroundTag(const SwfMovie& movie) {
    QByteArray tag;
    walkTags(movie.data, movie.tagsOffset, [&](const SwfTag& t) {
        if (t.code == kTagSetBackgroundColor)
            tag = movie.data.mid(t.offset, t.end() - t.offset);
        return tag.isEmpty();
    });
    return tag;
}

} // namespace

QByteArray instrumentMovie(const QByteArray& swf, const SwfPatchOptions& options) {
    const SwfMovie movie = decodeMovie(swf);
    if (movie.info.avm2)
        return swf;
    return insertScripts(movie, options, true);
}

QByteArray avm1Shell(const QByteArray& content) {
    const SwfMovie movie = decodeMovie(content);
    QByteArray data("FWS");
    data.append(char(std::max(kExternalInterfaceVersion, movie.info.version)));
    data.append(4, '\0'); // the length, set by encodeMovie
    data += stageBlock(movie);
    data += backgroundTag(movie);
    data += makeTag(kTagDoAction, shellProgram());
    data += makeTag(kTagShowFrame, {});
    data += makeTag(kTagEnd, {});
    return encodeMovie(data, false);
}

QByteArray avm2Shell(const QByteArray& shell, const QByteArray& content) {
    const SwfMovie own = decodeMovie(shell);
    const SwfMovie movie = decodeMovie(content);
    // The stage, rate, frame count and background are the content's; the shell stops itself on
    // its only frame.
    QByteArray data = own.data.left(kFileHeaderSize) + stageBlock(movie);
    const QByteArray background = backgroundTag(movie);
    walkTags(own.data, own.tagsOffset, [&](const SwfTag& tag) {
        if (tag.code != kTagSetBackgroundColor || background.isEmpty())
            data += own.data.mid(tag.offset, tag.end() - tag.offset);
        if (tag.code == kTagFileAttributes)
            data += background; // FileAttributes must stay first
        return true;
    });
    return encodeMovie(data, own.info.compressed);
}

PreparedMovie prepareMovie(const QByteArray& swf, const SwfPatchOptions& options) {
    const SwfMovie movie = decodeMovie(swf);
    if (movie.info.avm2) {
        if (options.avm2Shell.isEmpty())
            throw SwfError("no shell for ActionScript 3 movies");
        return {avm2Shell(options.avm2Shell, swf), swf, MovieShell::Avm2};
    }
    if (movie.info.version >= kExternalInterfaceVersion)
        return {insertScripts(movie, options, true), {}, MovieShell::None};
    return {avm1Shell(swf), insertScripts(movie, options, false), MovieShell::Avm1};
}

} // namespace lumora
