// What the protocol engine needs from the device object: the job list, the
// saved braille-line copy, the paging settings, what the pad is known to show
// and the application's callbacks. Every call but the callbacks is made with
// the shared lock held.
#pragma once

#include "device/display_job.h"

namespace velumi {

class ProtocolDevice {
public:
    virtual ~ProtocolDevice() = default;

    virtual DisplayJob *CurrentJob() = 0;  // the first job of the list, or null
    virtual bool HasJobs() = 0;
    // Overwrites `job` with the saved braille-line copy; false (job untouched) when none was saved.
    virtual bool RestoreSavedBraille(DisplayJob &job) = 0;
    virtual void SaveBraille(const DisplayJob &job) = 0;
    virtual int RetryCount() = 0;
    virtual int RetryDelayMs() = 0;
    virtual int BrailleCells() = 0;  // braille-line width of the connected model
    virtual int NextLine(DisplayJob &job) = 0;  // next graphic line to send
    // The pad confirmed graphic line `line` of `job`, or its arrival is in doubt.
    virtual void LineShown(const DisplayJob &, int /*line*/) {}
    virtual void LineUnknown(int /*line*/) {}
    virtual void RecordLastShown(const DisplayJob &job) = 0;
    virtual void SendDispCompletedMessage(int code) = 0;
    // Whether a device name the pad reports names one of the models.
    virtual bool NameSelectsModel(const char *) { return true; }
    virtual void SetDeviceType(const char *deviceName) = 0;
    virtual int SendKey(int key) = 0;

    // Application callbacks (receive worker, or the display thread for DisplayDone).
    virtual void FirmwareVersionReceived(const char *version) = 0;
    virtual void HardwareVersionReceived(int version) = 0;
    virtual void DeviceNameReceived(const char *name) = 0;
    virtual void KeyReceived(int key) = 0;
    virtual void DisplayDone() = 0;
};

}  // namespace velumi
