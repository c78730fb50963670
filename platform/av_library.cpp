#include "platform/av_library.h"

#include <dlfcn.h>

namespace {
std::string sharedObject(const char* stem, int major)
{
    return std::string(stem) + ".so." + std::to_string(major);
}

// The symbol from the first object that has it.
void* findSymbol(const std::vector<void*>& objects, const char* name)
{
    for (void* object : objects)
        if (void* symbol = dlsym(object, name))
            return symbol;
    return nullptr;
}

AvLoad failed(std::string reason)
{
    AvLoad load;
    load.failure = std::move(reason);
    return load;
}
}  // namespace

std::vector<std::string> avSharedObjects()
{
    return {sharedObject("libavutil", LIBAVUTIL_VERSION_MAJOR),
            sharedObject("libavcodec", LIBAVCODEC_VERSION_MAJOR),
            sharedObject("libavformat", LIBAVFORMAT_VERSION_MAJOR)};
}

AvLoad loadAvLibrary(const std::vector<std::string>& sharedObjects)
{
    std::vector<void*> objects;
    for (const std::string& name : sharedObjects) {
        void* object = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!object) {
            const char* reason = dlerror();
            return failed(reason ? reason : "cannot load " + name);
        }
        objects.push_back(object);
    }
    auto functions = std::make_unique<AvLibrary>();
#define KELVO_AV_FIND(name)                                                       \
    functions->name = reinterpret_cast<decltype(&::name)>(findSymbol(objects, #name)); \
    if (!functions->name)                                                         \
        return failed("no function " #name " in the video libraries");
    KELVO_AV_FUNCTIONS(KELVO_AV_FIND)
#undef KELVO_AV_FIND
    AvLoad load;
    load.functions = std::move(functions);
    return load;
}

// Loaded once and never changed after: the one copy every writer shares.
const AvLibrary* avLibrary()
{
    static const AvLoad load = [] {
        AvLoad loaded = loadAvLibrary(avSharedObjects());
        if (loaded.functions)
            loaded.functions->av_log_set_level(AV_LOG_QUIET);
        return loaded;
    }();
    return load.functions.get();
}
