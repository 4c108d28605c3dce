#pragma once

// What a bus asks of the switches attached to it while it balances the
// flows of a bus group: a switch carries no impedance, so its flow is known
// only once every other flow at one of its buses is.
class ISwitchFlow {
public:
    // The flow, MW and Mvar, out of the bus with the key into the switch.
    virtual void SetFlow(int busKey, double p, double q) = 0;
    // Marks the switch's flow as known (or unknown again before a new pass).
    virtual void SetFlowKnown(bool known) = 0;

protected:
    ~ISwitchFlow() = default;
};
