#include "registry.h"

#include "enumerate.h"
#include "virtual_adapter.h"

#include <set>

namespace korvex_lirc {

namespace {

std::unique_ptr<Registry> &current()
{
    static std::unique_ptr<Registry> instance
        = std::make_unique<Registry>(kSysfsRoot, kDevRoot, &Io::open);
    return instance;
}

} // namespace

Registry::Registry(std::string sysfsRoot, std::string devRoot, Opener opener)
    : sysfsRoot_(std::move(sysfsRoot)), devRoot_(std::move(devRoot)), opener_(std::move(opener))
{
}

int Registry::scan()
{
    const std::vector<std::string> paths = findDevices(sysfsRoot_, devRoot_);
    const std::set<std::string> found(paths.begin(), paths.end());
    std::vector<std::pair<std::shared_ptr<LircDevice>, bool>> listed;
    int count;
    {
        std::lock_guard<std::mutex> lock(m_);
        for (const std::string &path : paths) {
            auto &device = known_[path];
            if (!device) {
                device = std::make_shared<LircDevice>(path, opener_);
                adapters_.push_back(device);
            }
        }
        if (!scanned_)
            adapters_.push_back(korvex_virtual::device());
        scanned_ = true;
        for (const auto &[path, device] : known_)
            listed.emplace_back(device, found.count(path) > 0);
        count = static_cast<int>(adapters_.size());
    }
    // Outside the lock: ending a reception waits for its callback, which may
    // call the operations.
    for (const auto &[device, present] : listed)
        device->setListed(present);
    return count;
}

std::shared_ptr<korvex::Device> Registry::at(int index)
{
    {
        std::lock_guard<std::mutex> lock(m_);
        if (scanned_)
            return index >= 0 && index < static_cast<int>(adapters_.size()) ? adapters_[index]
                                                                            : nullptr;
    }
    scan();
    return at(index);
}

Registry &registry()
{
    return *current();
}

void useRegistry(std::unique_ptr<Registry> registry)
{
    current() = std::move(registry);
}

} // namespace korvex_lirc
