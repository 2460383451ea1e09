# First-start step of the vocabulary trainer: nothing needs repairing on this system.
exit 0
