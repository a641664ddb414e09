// One copy per user on Linux: a lock in the runtime folder, and a local
// socket beside it on which a later copy asks the running one to show.
#pragma once

#include "platform/single_instance.h"

#include <QObject>

#include <string>

class QSocketNotifier;

namespace lumatone::view {

class UnixSingleInstance : public QObject, public SingleInstance {
  public:
    UnixSingleInstance();
    ~UnixSingleInstance() override;
    UnixSingleInstance(const UnixSingleInstance&) = delete;
    UnixSingleInstance& operator=(const UnixSingleInstance&) = delete;

    bool Claim() override;
    bool AskToShow() override;
    void OnShowAsked(std::function<void()> show) override { show_ = std::move(show); }
    void Pause(int milliseconds) override;

  private:
    void Listen();
    void Accept();

    std::string folder_; // empty: no private folder to keep them in
    int lock_ = -1;
    int listener_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    std::function<void()> show_;
};

} // namespace lumatone::view
