// The seam of the simulated machine: a virtual testing machine supplies the devices the
// platform configuration marks "simulated". Its controller port receives exactly the bytes
// the program writes to the controller, one at a time as they are sent; its data-acquisition
// card answers the readings of force, travel and strain. Time passes for it through the
// clock the machine was opened with.
#pragma once

#include <memory>

#include "acquisition.h"
#include "counter_card.h"
#include "daq_card.h"
#include "relay_card.h"
#include "serial_port.h"

namespace quorvex {

// The measuring instruments a simulated machine can put on a serial port.
enum class SimulatedInstrument { Caliper, Micrometer };
// The COM devices of the platform configuration that put them there.
constexpr const char* kSimulatedCaliperDevice = "simulated-caliper";
constexpr const char* kSimulatedMicrometerDevice = "simulated-micrometer";

class SimulatedMachine {
  public:
    virtual ~SimulatedMachine() = default;
    virtual std::unique_ptr<DaqCard> CreateDaqCard() = 0;
    virtual std::unique_ptr<RelayCard> CreateRelayCard() = 0;
    virtual std::unique_ptr<CounterCard> CreateCounterCard() = 0;
    // The port behind the controller's COM number.
    virtual std::unique_ptr<SerialPort> CreateControllerPort() = 0;
    // The port of a caliper or micrometer (a COM device "simulated-caliper" or
    // "simulated-micrometer"); none when the simulation has no such instrument.
    virtual std::unique_ptr<SerialPort> CreateInstrumentPort(SimulatedInstrument) {
        return nullptr;
    }
    // What the operator's hands do before the next test: a broken specimen is taken out and
    // the next one of the same kind clamped, unloaded, at the present crosshead position.
    virtual void ClampNextSpecimen() {}
    // The inputs of the card that carry a transverse gauge or displacement probes on this
    // machine; none by default.
    virtual ExtraInputs ExtraInputWiring() const { return {}; }
};

}  // namespace quorvex
