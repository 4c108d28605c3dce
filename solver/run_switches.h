#pragma once

// The control switches that Main sets from the options before a run.
// Each says whether a control or a limit check is in force.
struct RunSwitches {
    // Controls of the equations.
    bool areaControl = true;               // off with A, 6 or N
    bool pqTransformerControl = true;      // off with P or N
    bool voltageTransformerControl = true; // off with R or N
    bool remoteVoltageControl = true;      // off with N, or Q without a value
    bool bankSwitching = true;             // off with Q "X" or N
    bool participationCheck = true;        // off with X or n
    bool keepTransformerBusLink = false;   // R or N: a "T" bus keeps its regulated-bus link

    // Limit checks after convergence; n turns them all off.
    bool tapLimits = true;                 // off with a
    bool flowBandTransformers = true;      // off with P or p
    bool generatorReactiveLimits = true;   // off with q without a value
    bool zBusReactiveLimits = true;        // off with q "z"
    bool xBusShunts = true;                // off with q "x"
    bool voltageLimits = true;             // off with r
    bool fieldLimits = false;              // on with 3 unless 4
    bool armatureLimits = false;           // on with 3 unless 5
    bool recovery = true;                  // off with G

    // Options that change how limits are computed (X, 9; n sets both).
    bool optionX = false;
    bool option9 = false;

    // Set by the load-increase direction, not by an option: the direction
    // gives generators shares of the increase, so in a continuation each of
    // them takes its share x lambda and the slack bus alone takes the slack
    // power (the losses and whatever the shares leave).
    bool generationIncrease = false;
};
