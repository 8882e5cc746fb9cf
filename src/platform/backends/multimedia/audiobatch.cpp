#include "audiobatch.h"

#include <gst/gst.h>

#include <mutex>

namespace lumora {

namespace {

// GStreamer's audio decoders share this base class and its batching property.
constexpr char kAudioDecoderType[] = "GstAudioDecoder";
constexpr char kBatchProperty[] = "min-latency";

// Called for every element added to any bin of the process, on whichever thread adds it.
gboolean onElementAdded(GSignalInvocationHint*, guint count, const GValue* values, gpointer) {
    if (count < 2)
        return TRUE;
    auto* element = static_cast<GObject*>(g_value_get_object(&values[1]));
    // The decoders' base type is registered with the first decoder, so it is looked up here.
    const GType decoder = g_type_from_name(kAudioDecoderType);
    if (element != nullptr && decoder != 0 && G_TYPE_CHECK_INSTANCE_TYPE(element, decoder)) {
        const gint64 batch = std::chrono::nanoseconds(kDecodedAudioBatch).count();
        g_object_set(element, kBatchProperty, batch, nullptr);
    }
    return TRUE; // stay hooked
}

} // namespace

void batchDecodedAudio() {
    static std::once_flag hooked;
    std::call_once(hooked, [] {
        gst_init(nullptr, nullptr);
        g_signal_add_emission_hook(g_signal_lookup("element-added", GST_TYPE_BIN), 0,
                                   onElementAdded, nullptr, nullptr);
    });
}

} // namespace lumora
