' A late-bound client of the manager and of a package, as a spreadsheet macro
' uses them: the package list, then every method called on the object the
' manager returns, through whichever interface that is, without asking for
' another one. Prints LATEBOUND OK when
' every step gave what it should, LATEBOUND FAIL and the reason otherwise.
'
' Wine's script engines cannot index arrays of strings or doubles, nor make
' them: the test helper CorvantaTest.Arrays converts both ways, and gives an
' in-memory 1.1 material to calculate on. The test thermo systems' package
' answers every calculation with 1 and flashes everything into the vapour.
Option Explicit

' Wine's cscript stops silently on a runtime error: the last step shows where.
Sub Step(what)
    WScript.Echo "step: " & what
End Sub

Sub Check(condition, what)
    If Not condition Then
        WScript.Echo "LATEBOUND FAIL: " & what
        WScript.Quit 1
    End If
End Sub

Dim arrays, manager, pkg, material, values, listed, phases, i
Dim ids, formulae, names, boilTemps, molWts, casNos, labels, statuses, enthalpy
Set arrays = CreateObject("CorvantaTest.Arrays")
Set manager = CreateObject("Corvanta.PropertyPackageManager.1")

Step "the manager's list and its refusal of a name without separator"
values = arrays.ToVariants(manager.GetPropertyPackageList())
listed = "|"
For i = 0 To UBound(values)
    listed = listed & values(i) & "|"
Next
Check InStr(listed, "|Sys//A|Sys//B|") > 0, "package list: " & listed
Check InStr(listed, "|Acme Thermo 2//P|") = 0, "a thermo system of a listed 1.1 manager's maker is listed"
On Error Resume Next
manager.GetPropertyPackage "no separator"
Check Err.Number <> 0, "a bad package name did not fail"
On Error Goto 0
Set pkg = manager.GetPropertyPackage("sys//A")
Check pkg.ComponentName = "A", "package name: " & pkg.ComponentName
' Another interface's IDispatch, as a typed macro variable holds it.
Set phases = arrays.Query(pkg, "{678C0A9E-7D66-11D2-A67D-00105A42887F}")
Check phases.GetPhaseInfo("Vapor", "StateOfAggregation") = "Vapor", "state of aggregation of Vapor"

Step "compounds and phases"
pkg.GetCompoundList ids, formulae, names, boilTemps, molWts, casNos
values = arrays.ToVariants(ids)
Check values(0) = "methane" And values(1) = "ethane", "compound identifiers"
values = arrays.ToVariants(molWts)
Check Abs(values(1) - 30.07) < 1e-9, "molecular weight of ethane: " & values(1)
Check pkg.GetNumCompounds() = 2, "number of compounds"
Check pkg.GetNumPhases() = 2, "number of phases"
Check pkg.CheckSinglePhasePropSpec("enthalpy", "Vapor"), "enthalpy is not offered for Vapor"

Step "a flash at T and P on a material set as context"
Set material = arrays.Material(arrays.ToStrings(Array("methane", "ethane")))
pkg.SetMaterial material
material.SetOverallProp "temperature", "", arrays.ToDoubles(Array(300))
material.SetOverallProp "pressure", "", arrays.ToDoubles(Array(100000))
material.SetOverallProp "fraction", "mole", arrays.ToDoubles(Array(0.25, 0.75))
pkg.CalcEquilibrium arrays.ToStrings(Array("temperature", "", "overall")), _
                    arrays.ToStrings(Array("pressure", "", "overall")), "unspecified"
material.GetPresentPhases labels, statuses
values = arrays.ToVariants(labels)
Check UBound(values) = 0 And values(0) = "Vapor", "present phases after the flash"

Step "a property of the vapour, written to the material"
pkg.CalcSinglePhaseProp arrays.ToStrings(Array("enthalpy")), "Vapor"
material.GetSinglePhaseProp "enthalpy", "Vapor", "", enthalpy
values = arrays.ToVariants(enthalpy)
Check values(0) = 1, "vapour enthalpy: " & values(0)

Step "a failure, read back through the error interface of the same object"
On Error Resume Next
pkg.CalcSinglePhaseProp arrays.ToStrings(Array("kvalue")), "Vapor"
Check Err.Number = &H80040501, "a two-phase property was calculated as a single-phase one: error " & Hex(Err.Number)
On Error Goto 0
Check pkg.description = "Invalid/unsupported single-phase property: kvalue", "error description: " & pkg.description
Check pkg.scope = "CPropertyPackage::CalcSinglePhaseProp", "error scope: " & pkg.scope

pkg.UnsetMaterial
pkg.Terminate
WScript.Echo "LATEBOUND OK"
