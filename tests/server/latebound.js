// A late-bound client of the registered manager, as a spreadsheet macro would
// use it: everything goes through IDispatch. Prints LATEBOUND OK when every
// step gave what it should, LATEBOUND FAIL and the reason otherwise.
//
// CAPE-OPEN lists are arrays of strings, which Wine's script engines cannot
// index; the test helper CorvantaTest.Arrays turns them into arrays of VARIANT,
// and hands out another interface of an object as a typed macro variable would.
function check(condition, what) {
    if (!condition) throw new Error(what);
}

function strings(arrays, list) {
    return new VBArray(arrays.ToVariants(list)).toArray();
}

try {
    var arrays = new ActiveXObject("CorvantaTest.Arrays");
    var manager = new ActiveXObject("Corvanta.PropertyPackageManager.1");

    var names = strings(arrays, manager.GetPropertyPackageList());
    var listed = "|" + names.join("|") + "|";
    check(listed.indexOf("|Sys//A|Sys//B|") >= 0, "package list: " + names.join(", "));
    check(listed.indexOf("|Acme Thermo 2//P|") < 0, "a thermo system of a listed 1.1 manager's maker is listed");

    var pkg = manager.GetPropertyPackage("sys//A");
    check(pkg.ComponentName == "A", "package name: " + pkg.ComponentName);
    check(pkg.ComponentDescription != undefined, "package description missing");

    // The phases of the package, through the IDispatch of its phases interface.
    var phases = arrays.Query(pkg, "{678C0A9E-7D66-11D2-A67D-00105A42887F}");
    check(phases.GetNumPhases() == 2, "number of phases: " + phases.GetNumPhases());
    var state = phases.GetPhaseInfo("Vapor", "StateOfAggregation");
    check(state == "Vapor", "state of aggregation of Vapor: " + state);

    var failed = false;
    try {
        manager.GetPropertyPackage("no separator");
    } catch (e) {
        failed = true;
    }
    check(failed, "a bad package name did not fail");

    WScript.Echo("LATEBOUND OK");
} catch (e) {
    WScript.Echo("LATEBOUND FAIL: " + (e.message || e.description || e));
    WScript.Quit(1);
}
