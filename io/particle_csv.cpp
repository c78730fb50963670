#include "io/particle_csv.h"

#include "io/file_replace.h"
#include "io/number_text.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

std::string particleCsvText(const std::vector<Particle>& particles, double time)
{
    std::string text = "t,serial,emitter,x,y\n";
    const std::string t = roundTripText(time) + ",";
    text.reserve(text.size() + particles.size() * 64);
    for (const Particle& p : particles) {
        text += t;
        text += std::to_string(p.serial);
        text += ',';
        text += std::to_string(p.emitter);
        text += ',';
        text += roundTripText(p.x);
        text += ',';
        text += roundTripText(p.y);
        text += '\n';
    }
    return text;
}

std::string particleCsvPath(const std::string& directory, int32_t index)
{
    char name[32];
    std::snprintf(name, sizeof name, "particles_%05d.csv", index);
    return directory.empty() ? name : directory + "/" + name;
}

bool writeParticleCsv(const std::string& directory, int32_t index, const std::vector<Particle>& particles,
                      double time)
{
    if (!directory.empty()) {
        std::error_code error;
        std::filesystem::create_directories(directory, error);
        if (error)
            return false;
    }
    const std::string text = particleCsvText(particles, time);
    return replaceFile(particleCsvPath(directory, index), text.data(), text.size(), FileSync::None);
}
